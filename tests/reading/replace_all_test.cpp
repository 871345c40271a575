#include "reading/replace_all.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/reading/random_text.h"
#include "tests/reading/reference_text_preparation.h"

namespace parlino::reading {
namespace {

using testing::RandomText;
using testing::ReferenceReplaceAll;

struct Case {
  const char16_t* find;
  const char16_t* replacement;
  const char16_t* source;
  bool ignoreCase;
  const char16_t* expected;
};

std::string Describe(const Case& c) {
  return "find '" + ToUtf8(c.find) + "' replacement '" + ToUtf8(c.replacement) + "' source '" +
         ToUtf8(c.source) + (c.ignoreCase ? "' ignoring case" : "' exactly");
}

// Feeds the source in pieces whose lengths come from `cuts`, one after another, cycling.
Text ReplaceInPieces(TextView find, TextView replacement, TextView source, bool ignoreCase,
                     const std::vector<std::size_t>& cuts) {
  ReplaceStream stream(find, replacement, ignoreCase);
  Text out;
  std::size_t start = 0;
  for (std::size_t n = 0;; ++n) {
    const std::size_t length = std::min(cuts[n % cuts.size()], source.size() - start);
    const bool last = start + length == source.size();
    const Text input = stream.Unsettled() + Text(source.substr(start, length));
    const std::size_t settled = stream.Scan(input, last, out);
    if (settled != ReplaceStream::kWritten) out.append(input.substr(0, settled));
    start += length;
    if (last) return out;
  }
}

Text Replace(const Case& c) {
  return c.ignoreCase ? ReplaceAllIgnoreCase(c.find, c.replacement, c.source)
                      : ReplaceAll(c.find, c.replacement, c.source);
}

TEST(ReplaceAll, ScanRule) {
  const Case cases[] = {
      // Plain substrings, no word boundaries.
      {u"SQL", u"sequel", u"MySQL", false, u"Mysequel"},
      {u"Dr", u"Doctor", u"Dr Drive", false, u"Doctor Doctorive"},
      {u"ok", u"okay", u"ok ok", false, u"okay okay"},
      {u"the", u"thee", u"", false, u""},
      {u"longer", u"x", u"long", false, u"long"},
      // Case rule: only A to Z fold, the replacement goes in as written, the rest keeps its case.
      {u"sql", u"sequel", u"SQL, Sql and sql", true, u"sequel, sequel and sequel"},
      {u"sql", u"sequel", u"SQL, Sql and sql", false, u"SQL, Sql and sequel"},
      {u"Mr", u"Mister", u"mR SMITH", true, u"Mister SMITH"},
      {u"\u00C9", u"E", u"\u00E9 \u00C9", true, u"\u00E9 E"},
      {u"[", u"x", u"{[", true, u"{x"},
      // The inserted text is searched again from its second character: an occurrence that
      // starts in it and runs on into the following text is replaced too.
      {u"aa", u"ba", u"aaa", false, u"bba"},
      {u"ab", u"xa", u"abb", false, u"xxa"},
      {u"ab", u"xA", u"abB", true, u"xxA"},
      {u"aab", u"xaa", u"aabb", false, u"xxaa"},
      // After a deletion the character that moved into its place is not looked at again.
      {u"X", u"", u"XX", false, u"X"},
      {u"ab", u"", u"ababab", false, u"ab"},
      {u"a", u"", u"aab", false, u"ab"},
      {u"ab", u"", u"xab", false, u"x"},
      // Same length: every occurrence goes.
      {u"_", u" ", u"a__b_", false, u"a  b "},
      // One character is one code unit, halves of a surrogate pair included.
      {u"\xD83D", u"?", u"a\U0001F600", false, u"a?\xDE00"},
      // A replacement holding its word beyond its first character: the search goes on after the
      // inserted text.
      {u"e", u"ee", u"see", false, u"seeee"},
      {u"lol", u"lol lol", u"lol!", false, u"lol lol!"},
      {u"E", u"ee", u"Eve", true, u"eevee"},
      {u"a", u"xA", u"aa", true, u"xAxA"},
      {u"a", u"xA", u"aa", false, u"xAxA"},
      {u"a", u"aA", u"aa", false, u"aAaA"},
      // An empty word is never found.
      {u"", u"x", u"abc", false, u"abc"},
      {u"", u"x", u"", true, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c));
    EXPECT_EQ(ToUtf8(Replace(c)), ToUtf8(c.expected));
    EXPECT_EQ(ToUtf8(ReferenceReplaceAll(c.find, c.replacement, c.source, c.ignoreCase)),
              ToUtf8(c.expected));
    for (const std::vector<std::size_t>& cuts : {std::vector<std::size_t>{1}, {0, 2, 1}}) {
      EXPECT_EQ(ToUtf8(ReplaceInPieces(c.find, c.replacement, c.source, c.ignoreCase, cuts)),
                ToUtf8(c.expected));
    }
  }
}

// Small alphabets make overlapping occurrences, bridges into the following text, deletions and
// self-containing replacements common; the longer texts go through the vectorised search.
TEST(ReplaceAll, AgreesWithTheReferenceOnRandomCases) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> piece(0, 7);
  const std::u16string_view alphabets[] = {u"ab", u"aAbB ", u"aA\u00E9\u00C9"};
  for (int round = 0; round < 30000; ++round) {
    const bool ignoreCase = round % 2 == 0;
    const std::u16string_view alphabet = alphabets[round % 3];
    const Text find = RandomText(random, alphabet, 6);
    const Text replacement = RandomText(random, alphabet, 6);
    const Text source = RandomText(random, alphabet, round % 4 == 0 ? 60 : 12);
    const Text actual = ignoreCase ? ReplaceAllIgnoreCase(find, replacement, source)
                                   : ReplaceAll(find, replacement, source);
    const Text expected = ReferenceReplaceAll(find, replacement, source, ignoreCase);
    ASSERT_EQ(ToUtf8(actual), ToUtf8(expected))
        << Describe({find.c_str(), replacement.c_str(), source.c_str(), ignoreCase, nullptr});
    // The same text in random pieces, empty ones included, must give the same result.
    const std::vector<std::size_t> cuts = {piece(random), piece(random), piece(random) + 1};
    ASSERT_EQ(ToUtf8(ReplaceInPieces(find, replacement, source, ignoreCase, cuts)),
              ToUtf8(expected))
        << Describe({find.c_str(), replacement.c_str(), source.c_str(), ignoreCase, nullptr})
        << " in pieces of " << cuts[0] << ", " << cuts[1] << ", " << cuts[2];
  }
}

}  // namespace
}  // namespace parlino::reading
