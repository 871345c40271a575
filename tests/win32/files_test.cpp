// Files on Windows under Wine: the atomic replacement, the start log, and the settings code on
// the Windows services.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/entry/windows_services.h"
#include "app/settings/debug_log.h"
#include "app/settings/ini_file.h"
#include "app/settings/tidy_ini_file.h"
#include "platform/platform_error.h"
#include "platform/text_file.h"
#include "platform/win32/win32_focus_copy.h"
#include "platform/win32/win32_message_pump.h"
#include "tests/fakes/temp_dir.h"

namespace parlino {
namespace {

using platform::ReplaceFileAtomically;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Names in the folder, to see that no temporary file stays behind.
std::vector<std::wstring> Names(const std::filesystem::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().native());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReplaceFileAtomically, WritesANewFileAndReplacesAnOldOne) {
  TempDir dir;
  const auto file = dir.path() / L"cfg \u0416.ini";
  ReplaceFileAtomically(file, "first");
  EXPECT_EQ(ReadBytes(file), "first");
  // The old file's attributes stay, as its mode does on Linux.
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
  ReplaceFileAtomically(file, std::string(100000, 'x'));
  EXPECT_EQ(ReadBytes(file), std::string(100000, 'x'));
  EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(Names(dir.path()), std::vector<std::wstring>{L"cfg \u0416.ini"});
}

TEST(ReplaceFileAtomically, AFileThatCannotBeReplacedStaysAsItWas) {
  TempDir dir;
  const auto file = dir.path() / L"cfg.ini";
  WriteBytes(file, "old");
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_THROW(ReplaceFileAtomically(file, "new"), PlatformError);
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(Names(dir.path()), std::vector<std::wstring>{L"cfg.ini"});
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);

  EXPECT_THROW(ReplaceFileAtomically(dir.path() / L"missing" / L"cfg.ini", "new"), PlatformError);
}

TEST(ReplaceFileAtomically, AFileWithOtherHardLinksIsWrittenInPlace) {
  TempDir dir;
  const auto file = dir.path() / L"words.ini";
  const auto link = dir.path() / L"words link.ini";
  WriteBytes(file, "old");
  ASSERT_TRUE(CreateHardLinkW(link.c_str(), file.c_str(), nullptr));
  ReplaceFileAtomically(file, "new and longer");
  EXPECT_EQ(ReadBytes(link), "new and longer");
  ReplaceFileAtomically(file, "short");
  EXPECT_EQ(ReadBytes(link), "short");
}

TEST(ReplaceFileAtomically, LeftoversOfAKilledRunAreRemovedAndNothingElse) {
  TempDir dir;
  const auto file = dir.path() / L"cfg.ini";
  WriteBytes(file, "kept");
  for (const wchar_t* name :
       {L"cfg.ini.parlino-new-a1B2c3", L"cfg.ini.parlino-new-zzzzzz", L"cfg.ini.parlino-new-abc",
        L"cfg.ini.parlino-new-abcdefg", L"other.ini.parlino-new-a1B2c3"}) {
    WriteBytes(dir.path() / name, "x");
  }
  platform::RemoveLeftoverTemporaries(file);
  EXPECT_EQ(Names(dir.path()), (std::vector<std::wstring>{L"cfg.ini", L"cfg.ini.parlino-new-abc",
                                                          L"cfg.ini.parlino-new-abcdefg",
                                                          L"other.ini.parlino-new-a1B2c3"}));
}

TEST(ReadFileBytes, MissingFilesFoldersAndFiles) {
  TempDir dir;
  EXPECT_EQ(platform::ReadFileBytes(dir.path() / L"missing.ini"), std::nullopt);
  EXPECT_EQ(platform::ReadFileBytes(dir.path() / L"missing" / L"cfg.ini"), std::nullopt);
  EXPECT_THROW(platform::ReadFileBytes(dir.path()), PlatformError);
  WriteBytes(dir.path() / L"\u0416.ini", std::string(200000, 'z'));
  EXPECT_EQ(platform::ReadFileBytes(dir.path() / L"\u0416.ini"), std::string(200000, 'z'));
}

TEST(TidyIniFile, TidiesThroughTheWindowsReplacement) {
  TempDir dir;
  const auto file = dir.path() / L"slots.ini";
  WriteBytes(file, "[A]\r\nx=1\r\nz=2\r\n\r\n[B]\r\ny=2\r\n \r\n");
  app::TidyIniFile(file);
  EXPECT_EQ(ReadBytes(file), "[A]\r\nx=1\r\nz=2\r\n\r\r\n[B]\r\ny=2\r\n");
}

TEST(DebugLogFile, AppendsTimedLinesToAFileWithAWideName) {
  TempDir dir;
  const auto folder = dir.path() / L"\u0416\u6F22";
  std::filesystem::create_directory(folder);
  app::DebugLogFile log(folder / L"debug.txt");
  EXPECT_EQ(log.Write("Start : 0"), std::nullopt);  // disabled: nothing
  EXPECT_FALSE(std::filesystem::exists(folder / L"debug.txt"));
  log.enabled = true;
  EXPECT_EQ(log.Write("Start : 1"), std::nullopt);
  EXPECT_EQ(log.Write("Start : 2"), std::nullopt);
  // The time in the user's long format (here the English one, such as 2:03:27 PM).
  const std::regex expected(
      R"(\d{1,2}:\d\d:\d\d( [AP]M)? Start : 1\r\n\d{1,2}:\d\d:\d\d( [AP]M)? Start : 2\r\n)");
  EXPECT_TRUE(std::regex_match(ReadBytes(folder / L"debug.txt"), expected))
      << ReadBytes(folder / L"debug.txt");

  app::DebugLogFile missing(dir.path() / L"missing" / L"debug.txt");
  missing.enabled = true;
  EXPECT_NE(missing.Write("Start : 1"), std::nullopt);  // the reason, for the user
}

TEST(WindowsServices, TheSettingsCodeWorksOnThem) {
  platform::win32_impl::Win32MessagePump pump;
  platform::win32_impl::Win32FocusCopy focusCopy;
  app::WindowsServices services(pump, focusCopy);
  TempDir dir;
  const app::AppContext context =
      services.Context({dir.path(), dir.path()}, {"parlino.exe", "-log"});

  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  EXPECT_EQ(context.programPath, std::filesystem::path(program));
  app::IniFile cfg(context.profiles, dir.path() / L"cfg.ini");
  cfg.WriteInteger(u"General", u"HotKey", 16392);
  cfg.WriteBool(u"General", u"FirstRun", false);
  EXPECT_EQ(cfg.ReadInteger(u"General", u"HotKey", 0), 16392);
  EXPECT_FALSE(cfg.ReadBool(u"General", u"FirstRun", true));
  app::TidyIniFile(cfg.path());
  EXPECT_EQ(ReadBytes(cfg.path()), "[General]\r\nHotKey=16392\r\nFirstRun=0\r\n");
}

}  // namespace
}  // namespace parlino
