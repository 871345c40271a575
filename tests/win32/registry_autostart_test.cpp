#include "platform/win32/registry_autostart_entry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/platform_error.h"

namespace parlino {
namespace {

using platform::win32_impl::kRunKey;
using platform::win32_impl::kRunValueName;
using platform::win32_impl::RegistryAutostartEntry;

// The value as another program (the system at logon) reads it.
std::wstring RunValue() {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName, RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS) {
    return L"<none>";
  }
  return value;
}

// Each test runs in a Wine prefix of its own, so the user's Run key is the test's to change.
TEST(RegistryAutostartEntry, RoundTrip) {
  RegistryAutostartEntry entry;
  entry.Remove();
  EXPECT_EQ(entry.Read(), std::nullopt);
  EXPECT_EQ(RunValue(), L"<none>");

  entry.Write(LR"(C:\Parlino\parlino.exe)", u" -autostart");
  EXPECT_EQ(RunValue(), LR"(C:\Parlino\parlino.exe -autostart)");
  EXPECT_EQ(entry.Read(), u"C:\\Parlino\\parlino.exe -autostart");

  // A moved program is registered at its new place; a path with a space is quoted.
  entry.Write(LR"(C:\Program Files\Parlino\parlino.exe)", u" -autostart");
  EXPECT_EQ(RunValue(), LR"("C:\Program Files\Parlino\parlino.exe" -autostart)");

  entry.Remove();
  EXPECT_EQ(entry.Read(), std::nullopt);
  entry.Remove();  // a missing value is no error
}

TEST(RegistryAutostartEntry, EmptyValueReadsAsEmpty) {
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key, kRunValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), 0),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegistryAutostartEntry().Read(), u"");
}

TEST(RegistryAutostartEntry, WithoutARunKeyNothingIsCreated) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kRunKey);
  ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND);
  RegistryAutostartEntry entry;
  EXPECT_EQ(entry.Read(), std::nullopt);
  EXPECT_THROW(entry.Write(LR"(C:\parlino.exe)", u" -autostart"), PlatformError);
  entry.Remove();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace parlino
