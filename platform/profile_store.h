#pragma once
// Access to INI files with the profile semantics of the platform: section and key names compared
// without regard to ASCII letter case, the first matching section and key winning.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "platform/text_file.h"

namespace parlino::platform {

// One INI file opened for a run of reads and writes, as a load or a save of the settings does.
// The writes reach the file together at Commit, so the file is read once and written at most once.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // As ProfileStore::Read; sees the writes made so far.
  virtual std::optional<Text> Read(TextView section, TextView key) = 0;
  // As ProfileStore::Write, but kept until Commit. Throws PlatformError when the file exists but
  // could not be read: it is never replaced then.
  virtual void Write(TextView section, TextView key, TextView value) = 0;
  // Puts the writes on disk, after `edit` (a tidy-up, say) has run over the whole file when the
  // file exists. Throws PlatformError.
  virtual void Commit(const TextFile::Edit& edit = {}) = 0;
  // Why the file could not be read, when it exists but could not; its values then read as missing.
  virtual std::optional<std::string> ReadError() const { return std::nullopt; }
};

class ProfileStore {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  virtual ~ProfileStore() = default;

  // The value (at most kMaxValueLength code units), or nothing when the file, section or key is
  // missing, or when the file cannot be read.
  virtual std::optional<Text> Read(const std::filesystem::path& file, TextView section,
                                   TextView key) = 0;
  // Replaces the value in place, or appends the key to its section, or the section to the end of
  // the file (creating it). Throws PlatformError when the file cannot be written.
  virtual void Write(const std::filesystem::path& file, TextView section, TextView key,
                     TextView value) = 0;
  // Removes the key's line; a missing key or file is no error.
  virtual void DeleteKey(const std::filesystem::path& file, TextView section, TextView key) = 0;
  // The names of the keys of the first matching section, in file order.
  virtual std::vector<Text> KeyNames(const std::filesystem::path& file, TextView section) = 0;

  // The file for a run of reads and writes. This one passes every call on to the store at once
  // and runs the edit of Commit as a rewrite of its own; a store that can do better keeps the
  // file in memory between them.
  virtual std::unique_ptr<ProfileFile> Open(const std::filesystem::path& file);
};

}  // namespace parlino::platform
