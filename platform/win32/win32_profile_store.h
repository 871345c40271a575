#pragma once
// INI files through the system's own profile functions (GetPrivateProfileStringW,
// WritePrivateProfileStringW): files without a UTF-16 byte-order mark are in the ANSI code page,
// and the system decides how a changed file is written back.
#include "platform/profile_store.h"

namespace parlino::platform::win32_impl {

class Win32ProfileStore final : public ProfileStore {
 public:
  std::optional<Text> Read(const std::filesystem::path& file, TextView section,
                           TextView key) override;
  void Write(const std::filesystem::path& file, TextView section, TextView key,
             TextView value) override;
  void DeleteKey(const std::filesystem::path& file, TextView section, TextView key) override;
  std::vector<Text> KeyNames(const std::filesystem::path& file, TextView section) override;
};

}  // namespace parlino::platform::win32_impl
