#pragma once
// Starting with Windows: the value "Parlino" under HKEY_CURRENT_USER's
// SOFTWARE\Microsoft\Windows\CurrentVersion\Run, the command line to run at logon.
#include "platform/autostart_entry.h"

namespace parlino::platform::win32_impl {

class RegistryAutostartEntry final : public AutostartEntry {
 public:
  std::optional<Text> Read() override;
  // The program path is quoted when it holds a space, so that Windows cannot take a part of it
  // for another program ("C:\Program.exe" for "C:\Program Files\..."). The Run key itself is
  // never created: without it there is nothing to start programs at logon.
  void Write(const std::filesystem::path& program, TextView arguments) override;
  void Remove() override;
};

inline constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValueName[] = L"Parlino";

}  // namespace parlino::platform::win32_impl
