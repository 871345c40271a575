#include "reading/text_preparation.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/fakes/fake_pronunciation_settings.h"
#include "tests/reading/random_text.h"
#include "tests/reading/reference_text_preparation.h"

namespace parlino::reading {
namespace {

using corrections::Correction;
using testing::FakePronunciationSettings;
using testing::RandomText;
using testing::ReferencePrepareText;

constexpr char16_t kDefaultIgnored[] = u"*\\/\"`_~:'";

FakePronunciationSettings Settings(bool ignore, Text ignored, bool corrections,
                                   std::vector<Correction> rows) {
  FakePronunciationSettings settings;
  settings.ignoreCharacters = ignore;
  settings.ignoredCharacters = std::move(ignored);
  settings.wordsCorrections = corrections;
  settings.rows = std::move(rows);
  return settings;
}

struct Case {
  const char* what;
  FakePronunciationSettings settings;
  Text raw;
  Text expected;
};

TEST(PrepareText, IgnoredCharactersThenCorrections) {
  const std::vector<Correction> sqlNo = {{u"sql", u"sequel", u"No"}};
  const Case cases[] = {
      {"both switches off", Settings(false, kDefaultIgnored, false, sqlNo), u"\t SQL: a\\b \r\n",
       u"\t SQL: a\\b \r\n"},
      {"default ignored characters", Settings(true, kDefaultIgnored, false, {}),
       u"C:\\data\\file_1.txt", u"C  data file 1.txt"},
      {"all nine defaults", Settings(true, kDefaultIgnored, false, {}), u"*\\/\"`_~:'!",
       u"         !"},
      {"duplicates and a space in the list", Settings(true, u"aa  a", false, {}), u"banana",
       u"b n n "},
      {"corrections only", Settings(false, kDefaultIgnored, true, sqlNo), u"My_SQL", u"My_sequel"},
      {"a word with an ignored character never matches",
       Settings(true, kDefaultIgnored, true, {{u"file_name", u"file", u"Yes"}}), u"file_name",
       u"file name"},
      {"ignored characters in a pronunciation stay",
       Settings(true, kDefaultIgnored, true, {{u"dir", u"C:\\dir", u"Yes"}}), u"dir", u"C:\\dir"},
      {"a later row sees what an earlier one inserted",
       Settings(false, u"", true, {{u"Mr", u"Mister", u"Yes"}, {u"Mister", u"Sir", u"Yes"}}),
       u"Mr Smith", u"Sir Smith"},
      {"only an exact No ignores case",
       Settings(
           false, u"", true,
           {{u"a", u"1", u"no"}, {u"b", u"2", u""}, {u"c", u"3", u"Yes"}, {u"d", u"4", u"No"}}),
       u"aAbBcCdD", u"1A2B3C44"},
      {"empty word and self-containing rows",
       Settings(false, u"", true, {{u"", u"x", u"Yes"}, {u"e", u"ee", u"No"}, {u"", u"", u"No"}}),
       u"EeE", u"eeeeee"},
      {"empty text with everything on", Settings(true, kDefaultIgnored, true, sqlNo), u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ToUtf8(PrepareText(c.raw, c.settings)), ToUtf8(c.expected));
    EXPECT_EQ(ToUtf8(ReferencePrepareText(c.raw, c.settings)), ToUtf8(c.expected));
  }
}

// Several rows in a row, each working on what the rows before it left, over texts long enough
// for the vectorised search, and the corrections alone over texts cut into small pieces.
TEST(PrepareText, AgreesWithTheReferenceOnRandomSettings) {
  std::mt19937 random(7);
  const std::u16string_view alphabet = u"aAbB _:";
  const char16_t* const marks[] = {u"Yes", u"No", u"no", u""};
  std::uniform_int_distribution<int> coin(0, 1);
  std::uniform_int_distribution<std::size_t> rowCount(0, 8);
  std::uniform_int_distribution<std::size_t> mark(0, 3);
  for (int round = 0; round < 5000; ++round) {
    FakePronunciationSettings settings;
    settings.ignoreCharacters = coin(random) == 1;
    settings.ignoredCharacters = RandomText(random, alphabet, 3);
    settings.wordsCorrections = coin(random) == 1;
    for (std::size_t n = rowCount(random); n > 0; --n) {
      settings.rows.push_back(
          {RandomText(random, alphabet, 4), RandomText(random, alphabet, 6), marks[mark(random)]});
    }
    const Text raw = RandomText(random, alphabet, 80);
    ASSERT_EQ(ToUtf8(PrepareText(raw, settings)), ToUtf8(ReferencePrepareText(raw, settings)))
        << "round " << round;

    FakePronunciationSettings correctionsOnly = settings;
    correctionsOnly.ignoreCharacters = false;
    correctionsOnly.wordsCorrections = true;
    const Text expected = ReferencePrepareText(raw, correctionsOnly);
    for (const std::size_t pieceLength : {1, 2, 5, 16}) {
      ASSERT_EQ(ToUtf8(ApplyCorrections(raw, settings.rows, pieceLength)), ToUtf8(expected))
          << "round " << round << " in pieces of " << pieceLength;
    }
  }
}

// A text several pieces long, so rows meet across the boundaries of the real piece length.
TEST(PrepareText, LongTextAgreesWithTheReference) {
  std::mt19937 random(11);
  const std::u16string_view alphabet = u"aAbB _:xyz";
  FakePronunciationSettings settings;
  settings.ignoreCharacters = true;
  settings.ignoredCharacters = u":";
  settings.wordsCorrections = true;
  settings.rows = {{u"ab", u"ba", u"No"},   {u"b a", u"", u"Yes"}, {u"AA", u"a a", u"No"},
                   {u"aba", u"ab", u"No"},  {u"B", u"bb", u"Yes"}, {u"_ _", u"__", u"Yes"},
                   {u"bab", u"xbab", u"No"}};
  Text raw(kCorrectionPieceLength * 3 / 2, u' ');
  for (char16_t& c : raw) c = alphabet[std::uniform_int_distribution<std::size_t>(0, 9)(random)];
  EXPECT_TRUE(PrepareText(raw, settings) == ReferencePrepareText(raw, settings));
}

}  // namespace
}  // namespace parlino::reading
