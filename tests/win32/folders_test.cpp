#include "platform/win32/win32_folders.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

namespace parlino {
namespace {

TEST(Win32Folders, ProgramFolderAndAppDataFolder) {
  wchar_t appData[MAX_PATH] = {};
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
  const std::filesystem::path expected = std::filesystem::path(appData) / L"Parlino";
  std::filesystem::remove_all(expected);

  const platform::Folders folders = platform::win32_impl::DiscoverFolders();
  EXPECT_EQ(folders.dataFolder, expected);
  EXPECT_TRUE(std::filesystem::is_directory(folders.dataFolder));

  wchar_t program[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
  EXPECT_EQ(folders.programFolder, std::filesystem::path(program).parent_path());
  EXPECT_TRUE(std::filesystem::exists(folders.programFolder / L"win32_settings_tests.exe"));
}

}  // namespace
}  // namespace parlino
