#include "corrections/words_file.h"

#include <gtest/gtest.h>

#include "platform/linux/utf8_code_page.h"
#include "tests/corrections/correction_printer.h"
#include "tests/fakes/cp1252_code_page.h"
#include "tests/fakes/temp_dir.h"

namespace parlino::corrections {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const platform::linux_impl::Utf8CodePage kUtf8;

struct LineCase {
  const char16_t* line;
  Correction row;
};

// Lines of every shape, split by the rule the file has always been read with.
TEST(WordsFile, SplitsEachLineAtItsSeparators) {
  const LineCase cases[] = {
      {u"Dr###***###Doctor###***###Yes", {u"Dr", u"Doctor", u"Yes"}},
      {u"sql###***###sequel###***###No", {u"sql", u"sequel", u"No"}},
      {u"", {u"", u"", u""}},
      {u"###***######***###", {u"", u"", u""}},
      // One separator: the eight characters after it go, and "Doctor" is shorter.
      {u"Dr###***###Doctor", {u"Dr", u"", u""}},
      {u"Dr###***###Doctor and more", {u"Dr", u"", u"nd more"}},
      // No separator: the first sixteen characters go, the rest is the case mark.
      {u"abcdefghijklmnopqrstuvwxyz", {u"", u"", u"qrstuvwxyz"}},
      {u"Dr Doctor Yes", {u"", u"", u""}},
      // A third separator stays in the case mark.
      {u"a###***###b###***###Yes###***###c", {u"a", u"b", u"Yes###***###c"}},
      {u"  spaced ###***### kept ###***###No", {u"  spaced ", u" kept ", u"No"}},
  };
  for (const LineCase& c : cases) {
    EXPECT_EQ(ParseWordsLine(c.line), c.row) << ToUtf8(c.line);
  }
}

TEST(WordsFile, AThreeLineFileLoadsThreeRowsAndTheEmptyOneIsSavedAsTwoSeparators) {
  const std::string file =
      "Dr###***###Doctor###***###Yes\r\n"
      "sql###***###sequel###***###No\r\n"
      "\r\n";
  const std::vector<Correction> rows = ParseWordsFile(file, kUtf8);
  ASSERT_EQ(rows, (std::vector<Correction>{
                      {u"Dr", u"Doctor", u"Yes"}, {u"sql", u"sequel", u"No"}, {u"", u"", u""}}));
  EXPECT_EQ(EncodeWordsFile(rows, kUtf8),
            "Dr###***###Doctor###***###Yes\r\n"
            "sql###***###sequel###***###No\r\n"
            "###***######***###\r\n");
}

// Nothing is escaped: a word holding the separator is written as it is and read back split at
// its own separator. The editor refuses such words for that reason.
TEST(WordsFile, AWordHoldingTheSeparatorComesBackSplitAtTheWrongPlace) {
  const Correction row{u"a###***###b", u"x", u"Yes"};
  EXPECT_EQ(FormatWordsLine(row), u"a###***###b###***###x###***###Yes");
  EXPECT_EQ(ParseWordsLine(FormatWordsLine(row)), (Correction{u"a", u"b", u"x###***###Yes"}));
}

TEST(WordsFile, LinesEndAtCrLfLoneCrAndLoneLf) {
  const std::vector<Correction> rows = ParseWordsFile(
      "\xEF\xBB\xBF"
      "a###***###1###***###No\rb###***###2###***###No\n"
      "c###***###3###***###Yes",
      kUtf8);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].word, u"a");  // the byte-order mark is not part of the first word
  EXPECT_EQ(rows[1].word, u"b");
  EXPECT_EQ(rows[2], (Correction{u"c", u"3", u"Yes"}));
  EXPECT_TRUE(ParseWordsFile("", kUtf8).empty());
}

// A file copied from Windows: its accents survive next to lines written here in UTF-8.
TEST(WordsFile, ALineThatIsNotUtf8IsReadAsWindows1252) {
  const std::vector<Correction> rows = ParseWordsFile(
      "caf\xE9###***###k\xE6\x66\xE9###***###No\r\n"
      "na\xC3\xAFve###***###na\xC3\xAF\x65\x76\x65###***###Yes\r\n"
      "\x80uro###***###euro###***###No\r\n",
      kUtf8);
  EXPECT_EQ(rows, (std::vector<Correction>{{u"caf\u00E9", u"k\u00E6f\u00E9", u"No"},
                                           {u"na\u00EFve", u"na\u00EFeve", u"Yes"},
                                           {u"\u20ACuro", u"euro", u"No"}}));
}

TEST(WordsFile, IsWrittenInTheAnsiCodePage) {
  const std::vector<Correction> rows = {{u"caf\u00E9", u"\u0416uk", u"No"}};
  EXPECT_EQ(EncodeWordsFile(rows, kUtf8), "caf\xC3\xA9###***###\xD0\x96uk###***###No\r\n");
  // A page that cannot hold a character writes its default character instead.
  const testing::Cp1252CodePage cp1252;
  EXPECT_EQ(EncodeWordsFile(rows, cp1252), "caf\xE9###***###?uk###***###No\r\n");
  EXPECT_EQ(ParseWordsFile(EncodeWordsFile(rows, cp1252), cp1252)[0].pronunciation, u"?uk");
}

TEST(WordsFile, AFieldIsStorableWhenItComesBackWhole) {
  const struct {
    const char16_t* field;
    bool storable;
  } cases[] = {
      {u"", true},
      {u"Dr", true},
      {u" spaced ", true},
      {u"a###b", true},
      {u"###", true},
      {u"***###", true},
      {u"a###***b", true},
      {u"a###***###b", false},
      {u"a###***", false},
      {u"a###***#", false},
      {u"a###***##", false},
      {u"two\nlines", false},
      {u"two\rlines", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsStorableField(c.field), c.storable) << ToUtf8(c.field);
    if (!c.storable) continue;
    // What the check lets through comes back as it went in, as a word and as a pronunciation.
    const Correction row{c.field, c.field, u"No"};
    EXPECT_EQ(ParseWordsLine(FormatWordsLine(row)), row) << ToUtf8(c.field);
  }
  EXPECT_FALSE(IsStorableField(TextView(u"nul\0inside", 10)));
}

TEST(WordsFile, ReadsNothingFromAMissingFileAndWritesCrLfLines) {
  TempDir dir;
  EXPECT_EQ(ReadWordsFile(dir / "words.ini", kUtf8), std::nullopt);

  const std::vector<Correction> rows = {{u"Dr", u"Doctor", u"Yes"}, {u"SQL", u"", u"No"}};
  WriteWordsFile(dir / "words.ini", rows, kUtf8);
  EXPECT_EQ(ReadBytes(dir / "words.ini"),
            "Dr###***###Doctor###***###Yes\r\nSQL###***######***###No\r\n");
  EXPECT_EQ(ReadWordsFile(dir / "words.ini", kUtf8), rows);

  WriteWordsFile(dir / "words.ini", {}, kUtf8);
  EXPECT_EQ(ReadBytes(dir / "words.ini"), "");
  EXPECT_EQ(ReadWordsFile(dir / "words.ini", kUtf8), std::vector<Correction>{});

  RemoveWordsFile(dir / "words.ini");
  EXPECT_FALSE(std::filesystem::exists(dir / "words.ini"));
  RemoveWordsFile(dir / "words.ini");  // already gone: no error
}

}  // namespace
}  // namespace parlino::corrections
