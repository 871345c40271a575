#pragma once
// Access to INI files with the profile semantics of the platform: one value per call, every write
// on disk at once, section and key names compared without regard to ASCII letter case, the first
// matching section and key winning.
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/text.h"

namespace parlino::platform {

class ProfileStore {
 public:
  static constexpr std::size_t kMaxValueLength = 2047;

  virtual ~ProfileStore() = default;

  // The value (at most kMaxValueLength code units), or nothing when the file, section or key is
  // missing.
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
};

}  // namespace parlino::platform
