#include "app/settings/ini_file.h"

#include <gtest/gtest.h>

#include "app/settings/tidy_ini_file.h"
#include "platform/linux/ini_profile_store.h"
#include "tests/fakes/temp_dir.h"

namespace parlino {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

TEST(IniFile, IntegerForms) {
  const std::pair<const char16_t*, std::optional<std::int32_t>> cases[] = {
      {u"16392", 16392},
      {u"-5", -5},
      {u"+7", 7},
      {u"$4008", 0x4008},
      {u"0x407a", 0x407A},
      {u"0X407B", 0x407B},
      {u"$FFFFFFFF", -1},
      {u"2147483647", 2147483647},
      {u"-2147483648", std::numeric_limits<std::int32_t>::min()},
      {u"2147483648", std::nullopt},
      {u"$100000000", std::nullopt},
      {u"", std::nullopt},
      {u"$", std::nullopt},
      {u"12a", std::nullopt},
      {u"1.5", std::nullopt},
      {u"0x-1", std::nullopt},
      {u"abc", std::nullopt}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseInteger(text), expected) << ToUtf8(text);
  }
}

TEST(IniFile, BoolIsAnyNonZeroNumber) {
  testing::TempDir dir;
  WriteBytes(dir / "a.ini", "[S]\na=0\nb=1\nc=-3\nd=yes\ne=$0\n");
  platform::linux_impl::IniProfileStore store;
  const app::IniFile ini(store, dir / "a.ini");
  EXPECT_FALSE(ini.ReadBool(u"S", u"a", true));
  EXPECT_TRUE(ini.ReadBool(u"S", u"b", false));
  EXPECT_TRUE(ini.ReadBool(u"S", u"c", false));
  EXPECT_TRUE(ini.ReadBool(u"S", u"d", true));  // not a number: the default
  EXPECT_FALSE(ini.ReadBool(u"S", u"d", false));
  EXPECT_FALSE(ini.ReadBool(u"S", u"e", true));
  EXPECT_TRUE(ini.ReadBool(u"S", u"missing", true));
}

TEST(TidyIniFile, SlotFileShapeGetsSeparatorsBeforeLaterHeaders) {
  testing::TempDir dir;
  std::string file;
  for (int slot = 0; slot < 3; ++slot) {
    file += "[Slot_" + std::to_string(slot) + "]\r\n";
    for (const char* key : {"Voice", "Speed", "Pitch", "Volume", "SAPIVersion", "HotKey"}) {
      file += std::string(key) + "=1\r\n";
    }
    file += "\r\n \r\n";  // blank lines and lone spaces go
  }
  WriteBytes(dir / "slots.ini", file);
  app::TidyIniFile(dir / "slots.ini");

  const std::string tidied = ReadBytes(dir / "slots.ini");
  EXPECT_TRUE(tidied.starts_with("[Slot_0]\r\nVoice=1\r\n"));
  EXPECT_NE(tidied.find("HotKey=1\r\n\r\r\n[Slot_1]\r\n"), std::string::npos);
  EXPECT_NE(tidied.find("HotKey=1\r\n\r\r\n[Slot_2]\r\n"), std::string::npos);
  EXPECT_EQ(tidied.find("\r\n\r\n"), std::string::npos);

  // Tidying again removes the old separators and puts them back: the file does not grow.
  app::TidyIniFile(dir / "slots.ini");
  EXPECT_EQ(ReadBytes(dir / "slots.ini"), tidied);

  // The profile store reads through the separators.
  platform::linux_impl::IniProfileStore store;
  EXPECT_EQ(store.Read(dir / "slots.ini", u"Slot_2", u"HotKey"), u"1");
}

TEST(TidyIniFile, KeepsUtf16AndLeavesMissingFilesAlone) {
  testing::TempDir dir;
  WriteBytes(dir / "u.ini", std::string("\xFF\xFE[\0S\0]\0\n\0\n\0k\0=\0\x16\x04", 18));
  app::TidyIniFile(dir / "u.ini");
  EXPECT_EQ(ReadBytes(dir / "u.ini"),
            std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x16\x04\r\0\n\0", 22));
  app::TidyIniFile(dir / "missing.ini");
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.ini"));
}

}  // namespace
}  // namespace parlino
