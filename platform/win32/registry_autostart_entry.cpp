#include "platform/win32/registry_autostart_entry.h"

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

// An open registry key, closed with its owner.
class RunKey {
 public:
  explicit RunKey(REGSAM access) {
    status_ = RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, access, &key_);
  }
  ~RunKey() {
    if (status_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  RunKey(const RunKey&) = delete;
  RunKey& operator=(const RunKey&) = delete;

  LSTATUS status() const { return status_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  LSTATUS status_;
};

}  // namespace

std::optional<Text> RegistryAutostartEntry::Read() {
  const RunKey key(KEY_QUERY_VALUE);
  if (key.status() != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key.get(), kRunValueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key.get(), kRunValueName, nullptr, &type,
                       reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The stored string may or may not carry its terminating 0.
  value.resize(size / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return FromWide(value);
}

void RegistryAutostartEntry::Write(const std::filesystem::path& program, TextView arguments) {
  const RunKey key(KEY_SET_VALUE);
  if (key.status() != ERROR_SUCCESS) {
    ThrowWin32Error("Cannot open the Run key", static_cast<DWORD>(key.status()));
  }
  std::wstring command = program.native();
  if (command.find(L' ') != std::wstring::npos) command = L"\"" + command + L"\"";
  command += Wide(arguments);
  const auto size = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
  const LSTATUS status = RegSetValueExW(key.get(), kRunValueName, 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(command.c_str()), size);
  if (status != ERROR_SUCCESS) {
    ThrowWin32Error("Cannot write the Run value", static_cast<DWORD>(status));
  }
}

void RegistryAutostartEntry::Remove() {
  const RunKey key(KEY_SET_VALUE);
  if (key.status() == ERROR_FILE_NOT_FOUND) return;  // no Run key, so no value either
  if (key.status() != ERROR_SUCCESS) {
    ThrowWin32Error("Cannot open the Run key", static_cast<DWORD>(key.status()));
  }
  const LSTATUS status = RegDeleteValueW(key.get(), kRunValueName);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    ThrowWin32Error("Cannot remove the Run value", static_cast<DWORD>(status));
  }
}

}  // namespace parlino::platform::win32_impl
