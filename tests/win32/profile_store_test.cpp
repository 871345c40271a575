#include "platform/win32/win32_profile_store.h"

#include <gtest/gtest.h>

#include "platform/platform_error.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/ini_cases.h"

namespace parlino {
namespace {

using platform::win32_impl::Win32ProfileStore;
using testing::IniReadCase;
using testing::IniWriteCase;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class Win32IniReadTest : public ::testing::TestWithParam<IniReadCase> {};

TEST_P(Win32IniReadTest, ReadsAsTheProgramsOwnStoreDoes) {
  TempDir dir;
  WriteBytes(dir / "a.ini", GetParam().file);
  Win32ProfileStore store;
  EXPECT_EQ(store.Read(dir / "a.ini", GetParam().section, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Shared, Win32IniReadTest,
                         ::testing::ValuesIn(testing::SharedIniReadCases()),
                         [](const auto& param) { return std::string(param.param.name); });

class Win32IniWriteTest : public ::testing::TestWithParam<IniWriteCase> {};

TEST_P(Win32IniWriteTest, WritesTheFileAsTheProgramsOwnStoreDoes) {
  TempDir dir;
  if (!GetParam().before.empty()) WriteBytes(dir / "a.ini", GetParam().before);
  Win32ProfileStore store;
  store.Write(dir / "a.ini", GetParam().section, GetParam().key, GetParam().value);
  EXPECT_EQ(ReadBytes(dir / "a.ini"), GetParam().afterOnWindows.value_or(GetParam().after));
}

INSTANTIATE_TEST_SUITE_P(Shared, Win32IniWriteTest,
                         ::testing::ValuesIn(testing::SharedIniWriteCases()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Win32ProfileStore, ReadsBackWhatItWrote) {
  TempDir dir;
  Win32ProfileStore store;
  // Values that look like the markers a missing key is told by, and the longest value.
  const std::u16string values[] = {u"", u"\x01", u"\x02", u"Anna", std::u16string(2047, u'v')};
  for (const std::u16string& value : values) {
    store.Write(dir / "a.ini", u"Speech", u"Voice", value);
    EXPECT_EQ(store.Read(dir / "a.ini", u"speech", u"voice"), value);
  }
  EXPECT_EQ(store.Read(dir / "a.ini", u"Speech", u"Missing"), std::nullopt);
  EXPECT_EQ(store.Read(dir / "a.ini", u"Missing", u"Voice"), std::nullopt);
  EXPECT_EQ(store.Read(dir / "none.ini", u"Speech", u"Voice"), std::nullopt);
}

TEST(Win32ProfileStore, DeleteKeyAndKeyNames) {
  TempDir dir;
  WriteBytes(dir / "a.ini", "[S]\r\nVoice=A\r\n; note\r\nSpeed=1\r\n[T]\r\nx=1\r\n[s]\r\nz=1\r\n");
  Win32ProfileStore store;
  EXPECT_EQ(store.KeyNames(dir / "a.ini", u"s"), (std::vector<std::u16string>{u"Voice", u"Speed"}));
  store.DeleteKey(dir / "a.ini", u"S", u"voice");
  store.DeleteKey(dir / "a.ini", u"S", u"missing");
  EXPECT_EQ(ReadBytes(dir / "a.ini"), "[S]\r\n; note\r\nSpeed=1\r\n[T]\r\nx=1\r\n[s]\r\nz=1\r\n");
  EXPECT_TRUE(store.KeyNames(dir / "a.ini", u"missing").empty());
  EXPECT_TRUE(store.KeyNames(dir / "none.ini", u"S").empty());
}

TEST(Win32ProfileStore, KeyNamesOfALargeSection) {
  TempDir dir;
  std::string file = "[S]\r\n";
  std::vector<std::u16string> expected;
  for (int i = 0; i < 2000; ++i) {
    file += "Key_" + std::to_string(i) + "=1\r\n";
    const std::string name = "Key_" + std::to_string(i);
    expected.emplace_back(name.begin(), name.end());
  }
  WriteBytes(dir / "a.ini", file);
  EXPECT_EQ(Win32ProfileStore().KeyNames(dir / "a.ini", u"S"), expected);
}

TEST(Win32ProfileStore, DeletingFromAMissingFileCreatesNothing) {
  TempDir dir;
  Win32ProfileStore().DeleteKey(dir / "none.ini", u"S", u"k");
  EXPECT_FALSE(std::filesystem::exists(dir / "none.ini"));
}

TEST(Win32ProfileStore, WriteIntoAMissingFolderThrows) {
  TempDir dir;
  EXPECT_THROW(Win32ProfileStore().Write(dir / "missing-folder" / "a.ini", u"S", u"k", u"1"),
               PlatformError);
}

TEST(Win32ProfileStore, WideFileNames) {
  TempDir dir;
  const auto file = dir.path() / std::filesystem::path(u"\u0416\u6F22 settings.ini");
  Win32ProfileStore store;
  store.Write(file, u"S", u"k", u"1");
  EXPECT_EQ(store.Read(file, u"S", u"k"), u"1");
  EXPECT_EQ(ReadBytes(file), "[S]\r\nk=1\r\n");
}

}  // namespace
}  // namespace parlino
