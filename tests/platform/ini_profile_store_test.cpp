#include "platform/linux/ini_profile_store.h"

#include <gtest/gtest.h>

#include "platform/platform_error.h"
#include "tests/fakes/temp_dir.h"

namespace parlino {
namespace {

using platform::linux_impl::IniProfileStore;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct ReadCase {
  const char* name;
  std::string file;
  std::u16string section;
  std::u16string key;
  std::optional<std::u16string> expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsLikeThePlatform) {
  TempDir dir;
  WriteBytes(dir / "a.ini", GetParam().file);
  IniProfileStore store;
  EXPECT_EQ(store.Read(dir / "a.ini", GetParam().section, GetParam().key), GetParam().expected);
}

std::string Utf16Le(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, IniReadTest,
    ::testing::Values(
        ReadCase{"plain", "[General]\r\nHotKey=16392\r\n", u"General", u"HotKey", u"16392"},
        ReadCase{"odd_spacing", "  [ General ]  \n\t HotKey \t=  16392  \n", u"General", u"HotKey",
                 u"16392"},
        ReadCase{"mixed_case", "[gEnErAl]\nhOTkEY=1\n", u"GENERAL", u"hotkey", u"1"},
        ReadCase{"first_duplicate_key", "[S]\nk=1\nk=2\n", u"S", u"k", u"1"},
        ReadCase{"first_duplicate_section", "[S]\nk=1\n[T]\nk=3\n[S]\nk=2\nj=5\n", u"S", u"k",
                 u"1"},
        ReadCase{"key_only_in_later_duplicate", "[S]\nk=1\n[S]\nj=5\n", u"S", u"j", std::nullopt},
        ReadCase{"no_final_newline", "[S]\nk=last", u"S", u"k", u"last"},
        ReadCase{"cr_only_lines", "[S]\rk=1\rj=2\r", u"S", u"j", u"2"},
        ReadCase{"empty_value", "[S]\nk=\n", u"S", u"k", u""},
        ReadCase{"quoted_value", "[S]\nk=\" a b \"\n", u"S", u"k", u" a b "},
        ReadCase{"equals_in_value", "[S]\nk=a=b\n", u"S", u"k", u"a=b"},
        ReadCase{"key_in_other_section", "[S]\nk=1\n[T]\n", u"T", u"k", std::nullopt},
        ReadCase{"key_before_any_section", "k=1\n[S]\n", u"S", u"k", std::nullopt},
        ReadCase{"comment_line", "[S]\n;k=1\n", u"S", u"k", std::nullopt},
        ReadCase{"utf8_value", "[S]\nk=caf\xC3\xA9\n", u"S", u"k", u"caf\u00E9"},
        ReadCase{"invalid_utf8",
                 "[S]\nk=a\xFF"
                 "b\n",
                 u"S", u"k", u"a\uFFFDb"},
        ReadCase{"utf16_file", Utf16Le(u"[S]\r\nk=\u0416\u00E9\r\n"), u"S", u"k", u"\u0416\u00E9"},
        ReadCase{"separator_lines_of_a_tidied_file", "[A]\r\nk=1\r\r\n[S]\r\nk=2\r\n", u"S", u"k",
                 u"2"},
        ReadCase{"long_value_truncated", "[S]\nk=" + std::string(3000, 'x') + "\n", u"S", u"k",
                 std::u16string(2047, u'x')}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(IniProfileStore, MissingFileReadsNothing) {
  TempDir dir;
  IniProfileStore store;
  EXPECT_EQ(store.Read(dir / "none.ini", u"S", u"k"), std::nullopt);
  EXPECT_TRUE(store.KeyNames(dir / "none.ini", u"S").empty());
}

struct WriteCase {
  const char* name;
  std::string before;
  std::u16string section, key, value;
  std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, WritesInPlace) {
  TempDir dir;
  if (!GetParam().before.empty()) WriteBytes(dir / "a.ini", GetParam().before);
  IniProfileStore store;
  store.Write(dir / "a.ini", GetParam().section, GetParam().key, GetParam().value);
  EXPECT_EQ(ReadBytes(dir / "a.ini"), GetParam().after);
  EXPECT_EQ(store.Read(dir / "a.ini", GetParam().section, GetParam().key),
            std::u16string(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, IniWriteTest,
    ::testing::Values(
        WriteCase{"new_file", "", u"General", u"FirstRun", u"0", "[General]\r\nFirstRun=0\r\n"},
        WriteCase{"replace_keeps_spelling", "[s]\nKEY = 1\nj=2\n", u"S", u"key", u"7",
                  "[s]\nKEY=7\nj=2\n"},
        WriteCase{"append_key_to_section_before_blank", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", u"A",
                  u"z", u"3", "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
        WriteCase{"append_section_without_final_newline", "[A]\nx=1", u"B", u"y", u"2",
                  "[A]\nx=1\r\n[B]\r\ny=2\r\n"},
        WriteCase{"first_of_duplicate_keys", "[S]\nk=1\nk=2\n", u"S", u"k", u"9",
                  "[S]\nk=9\nk=2\n"},
        WriteCase{"cr_only_file", "[S]\rk=1\r", u"S", u"k", u"2", "[S]\rk=2\r"},
        WriteCase{"utf8_value", "", u"S", u"k", u"\u00E9", "[S]\r\nk=\xC3\xA9\r\n"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(IniProfileStore, Utf16FileStaysUtf16) {
  TempDir dir;
  WriteBytes(dir / "a.ini", Utf16Le(u"[S]\r\nk=1\r\n"));
  IniProfileStore store;
  store.Write(dir / "a.ini", u"S", u"k", u"\u0416");
  EXPECT_EQ(ReadBytes(dir / "a.ini"), Utf16Le(u"[S]\r\nk=\u0416\r\n"));
}

TEST(IniProfileStore, LineBreaksInAValueCannotAddKeys) {
  TempDir dir;
  IniProfileStore store;
  store.Write(dir / "a.ini", u"S", u"k", u"a\r\nHotKey=1");
  EXPECT_EQ(store.Read(dir / "a.ini", u"S", u"HotKey"), std::nullopt);
  EXPECT_EQ(store.Read(dir / "a.ini", u"S", u"k"), u"a  HotKey=1");
}

TEST(IniProfileStore, DeleteKeyAndKeyNames) {
  TempDir dir;
  WriteBytes(dir / "a.ini", "[S]\nVoice=A\n; note\nSpeed=1\n[T]\nx=1\n");
  IniProfileStore store;
  EXPECT_EQ(store.KeyNames(dir / "a.ini", u"s"), (std::vector<std::u16string>{u"Voice", u"Speed"}));
  store.DeleteKey(dir / "a.ini", u"S", u"voice");
  store.DeleteKey(dir / "a.ini", u"S", u"missing");
  EXPECT_EQ(ReadBytes(dir / "a.ini"), "[S]\n; note\nSpeed=1\n[T]\nx=1\n");
}

TEST(IniProfileStore, WriteToUnwritableFolderThrowsAndKeepsFile) {
  TempDir dir;
  IniProfileStore store;
  EXPECT_THROW(store.Write(dir / "missing-folder" / "a.ini", u"S", u"k", u"1"), PlatformError);
}

}  // namespace
}  // namespace parlino
