#pragma once
// INI files read and written by both profile stores, the program's own on Linux and the system's
// on Windows: the same inputs give the same values and the same files. Where the systems part
// ways, the case says how, so that a change on either side shows.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace parlino::testing {

struct IniReadCase {
  const char* name;
  std::string file;
  std::u16string section;
  std::u16string key;
  std::optional<std::u16string> expected;
};

struct IniWriteCase {
  const char* name;
  std::string before;  // empty: no file
  std::u16string section, key, value;
  std::string after;
  // Where the Windows profile functions write another file: they write every line anew,
  // ending in CR LF, without blank lines, and in the ANSI code page.
  std::optional<std::string> afterOnWindows = std::nullopt;
};

inline void PrintTo(const IniReadCase& c, std::ostream* os) {
  *os << c.name;
}
inline void PrintTo(const IniWriteCase& c, std::ostream* os) {
  *os << c.name;
}

inline std::string Utf16LeFile(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

inline std::vector<IniReadCase> SharedIniReadCases() {
  return {
      {"plain", "[General]\r\nHotKey=16392\r\n", u"General", u"HotKey", u"16392"},
      {"odd_spacing", "  [ General ]  \n\t HotKey \t=  16392  \n", u"General", u"HotKey", u"16392"},
      {"mixed_case", "[gEnErAl]\nhOTkEY=1\n", u"GENERAL", u"hotkey", u"1"},
      {"first_duplicate_key", "[S]\nk=1\nk=2\n", u"S", u"k", u"1"},
      {"first_duplicate_section", "[S]\nk=1\n[T]\nk=3\n[S]\nk=2\nj=5\n", u"S", u"k", u"1"},
      {"key_only_in_later_duplicate", "[S]\nk=1\n[S]\nj=5\n", u"S", u"j", std::nullopt},
      {"no_final_newline", "[S]\nk=last", u"S", u"k", u"last"},
      {"cr_only_lines", "[S]\rk=1\rj=2\r", u"S", u"j", u"2"},
      {"empty_value", "[S]\nk=\n", u"S", u"k", u""},
      {"quoted_value", "[S]\nk=\" a b \"\n", u"S", u"k", u" a b "},
      {"single_quoted_value", "[S]\nk=' a b '\n", u"S", u"k", u" a b "},
      {"unclosed_quote", "[S]\nk=\"abc\n", u"S", u"k", u"\"abc"},
      {"equals_in_value", "[S]\nk=a=b\n", u"S", u"k", u"a=b"},
      {"key_in_other_section", "[S]\nk=1\n[T]\n", u"T", u"k", std::nullopt},
      {"key_before_any_section", "k=1\n[S]\n", u"S", u"k", std::nullopt},
      {"comment_line", "[S]\n;k=1\n", u"S", u"k", std::nullopt},
      {"line_without_equals", "[S]\nk\n", u"S", u"k", std::nullopt},
      {"text_after_section_header", "[S] note\nk=1\n", u"S", u"k", u"1"},
      {"utf16_file", Utf16LeFile(u"[S]\r\nk=\u0416\u00E9\r\n"), u"S", u"k", u"\u0416\u00E9"},
      {"separator_lines_of_a_tidied_file", "[A]\r\nk=1\r\r\n[S]\r\nk=2\r\n", u"S", u"k", u"2"},
      {"long_value_truncated", "[S]\nk=" + std::string(3000, 'x') + "\n", u"S", u"k",
       std::u16string(2047, u'x')},
  };
}

inline std::vector<IniWriteCase> SharedIniWriteCases() {
  return {
      {"new_file", "", u"General", u"FirstRun", u"0", "[General]\r\nFirstRun=0\r\n"},
      {"replace_keeps_spelling", "[s]\r\nKEY = 1\r\nj=2\r\n", u"S", u"key", u"7",
       "[s]\r\nKEY=7\r\nj=2\r\n"},
      {"replace_in_lf_file", "[s]\nk=1\nj=2\n", u"S", u"k", u"7", "[s]\nk=7\nj=2\n",
       "[s]\r\nk=7\r\nj=2\r\n"},
      {"append_key_to_section", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n", u"A", u"z", u"3",
       "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n"},
      {"append_key_before_blank_line", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", u"A", u"z", u"3",
       "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n", "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n"},
      {"append_section_without_final_newline", "[A]\r\nx=1", u"B", u"y", u"2",
       "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
      {"first_of_duplicate_keys", "[S]\r\nk=1\r\nk=2\r\n", u"S", u"k", u"9",
       "[S]\r\nk=9\r\nk=2\r\n"},
      {"comments_stay", "; top\r\n[S]\r\n; c\r\nk=1\r\n", u"S", u"k", u"2",
       "; top\r\n[S]\r\n; c\r\nk=2\r\n"},
      {"ansi_value", "", u"S", u"k", u"caf\u00E9", "[S]\r\nk=caf\xC3\xA9\r\n",
       "[S]\r\nk=caf\xE9\r\n"},
      {"value_outside_the_ansi_page", "", u"S", u"k", u"\u0416", "[S]\r\nk=\xD0\x96\r\n",
       "[S]\r\nk=?\r\n"},
      {"utf16_file_stays_utf16", Utf16LeFile(u"[S]\r\nk=1\r\n"), u"S", u"k", u"\u0416",
       Utf16LeFile(u"[S]\r\nk=\u0416\r\n")},
      {"line_breaks_in_a_value_cannot_add_keys", "", u"S", u"k", u"a\r\nHotKey=1",
       "[S]\r\nk=a  HotKey=1\r\n"},
  };
}

}  // namespace parlino::testing
