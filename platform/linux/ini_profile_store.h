#pragma once
// INI files with the platform's profile semantics, kept by the program itself. Files without a
// byte-order mark are UTF-8; UTF-16 files are recognised by their mark and written back as such.
// A write changes only the lines it must: every other line keeps its bytes, whatever its code
// page. A file that exists but cannot be read reads as empty and is never written.
#include "platform/profile_store.h"

namespace parlino::platform::linux_impl {

class IniProfileStore final : public ProfileStore {
 public:
  std::optional<Text> Read(const std::filesystem::path& file, TextView section,
                           TextView key) override;
  void Write(const std::filesystem::path& file, TextView section, TextView key,
             TextView value) override;
  void DeleteKey(const std::filesystem::path& file, TextView section, TextView key) override;
  std::vector<Text> KeyNames(const std::filesystem::path& file, TextView section) override;
  // Reads the file once; its writes are made in memory and written together at Commit.
  std::unique_ptr<ProfileFile> Open(const std::filesystem::path& file) override;
};

}  // namespace parlino::platform::linux_impl
