#include "platform/linux/speech_text.h"

#include <gtest/gtest.h>

#include "platform/linux/espeak_library.h"

namespace parlino::platform::linux_impl {
namespace {

TEST(SpeechTextTest, LeadingPitchMarkupIsRemovedAndRead) {
  struct Case {
    Text text;
    Text body;
    std::size_t offset;
    int pitch;
  };
  const Case cases[] = {
      {u"<pitch middle=\"5\">hello", u"hello", 18, 5},
      {u"<pitch middle=\"-5\">hello", u"hello", 19, -5},
      {u"<PITCH  middle = '3' >x", u"x", 22, 3},
      {u"<pitch middle=\"+2\">", u"", 19, 2},
      {u"<pitch middle=\"15\">x", u"x", 19, 10},  // clamped to the pitch range
      {u"<pitch middle=\"-99999999999999\">x", u"x", 32, -10},
      {u"<pitch middle=\"0\">hi</pitch>", u"hi", 18, 0},  // the closing element is markup too
      {u"<pitch middle=\"1\">hi</PITCH> \n", u"hi", 18, 1},
      {u"<pitch middle=\"1\">a </pitch> b", u"a </pitch> b", 18, 1},
      // Anything else is text, spoken as it stands.
      {u"hi <pitch middle=\"5\">", u"hi <pitch middle=\"5\">", 0, 0},
      {u"<pitch middle=5>x", u"<pitch middle=5>x", 0, 0},
      {u"<pitchmiddle=\"5\">x", u"<pitchmiddle=\"5\">x", 0, 0},
      {u"<pitch middle=\"\">x", u"<pitch middle=\"\">x", 0, 0},
      {u"<pitch middle=\"5'>x", u"<pitch middle=\"5'>x", 0, 0},
      {u"<pitch middle=\"5\"", u"<pitch middle=\"5\"", 0, 0},
      {u"<rate speed=\"5\">x", u"<rate speed=\"5\">x", 0, 0},
      {u"a</pitch>", u"a</pitch>", 0, 0},
      {u"", u"", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    const SpeechText parsed = ParseSpeechText(c.text);
    EXPECT_EQ(Text(parsed.body), c.body);
    EXPECT_EQ(parsed.offset, c.offset);
    EXPECT_EQ(parsed.pitch, c.pitch);
  }
}

std::vector<Text> Pieces(TextView text, std::size_t maxLength, std::vector<bool>* sentences) {
  std::vector<Text> pieces;
  for (std::size_t from = 0; from < text.size();) {
    const PieceEnd end = NextPiece(text, from, maxLength);
    EXPECT_GT(end.end, from);
    EXPECT_LE(end.end - from, maxLength);
    pieces.emplace_back(text.substr(from, end.end - from));
    if (sentences != nullptr) sentences->push_back(end.endsSentence);
    from = end.end;
  }
  return pieces;
}

TEST(SpeechTextTest, PiecesAreWholeSentencesThenClausesThenWords) {
  std::vector<bool> sentences;
  EXPECT_EQ(Pieces(u"One. Two! Three? Four", 100, nullptr),
            (std::vector<Text>{u"One. Two! Three? Four"}));
  EXPECT_EQ(Pieces(u"One two. Three four. Five six.", 22, &sentences),
            (std::vector<Text>{u"One two. Three four. ", u"Five six."}));
  EXPECT_EQ(sentences, (std::vector<bool>{true, false}));
  EXPECT_EQ(Pieces(u"Pi is 3.14 or so, they say today", 20, nullptr),
            (std::vector<Text>{u"Pi is 3.14 or so, ", u"they say today"}));
  EXPECT_EQ(Pieces(u"line one\nline two\nthree", 12, nullptr),
            (std::vector<Text>{u"line one\n", u"line two\n", u"three"}));
  EXPECT_EQ(Pieces(u"aaa bbb ccc ddd", 9, nullptr), (std::vector<Text>{u"aaa bbb ", u"ccc ddd"}));
  EXPECT_EQ(Pieces(u"abcdefgh", 3, nullptr), (std::vector<Text>{u"abc", u"def", u"gh"}));
  // A surrogate pair is never cut in two.
  EXPECT_EQ(Pieces(u"ab\U0001D11Ecd", 3, nullptr),
            (std::vector<Text>{u"ab", u"\U0001D11Ec", u"d"}));
}

TEST(SpeechTextTest, PiecesOfALongTextCoverItExactly) {
  Text text;
  for (int i = 0; text.size() < 20000; ++i) {
    text += u"Word" + Text(static_cast<std::size_t>(i % 7), u'x') + (i % 11 == 0 ? u". " : u" ");
  }
  Text joined;
  for (const Text& piece : Pieces(text, 400, nullptr)) joined += piece;
  EXPECT_EQ(joined, text);
}

TEST(SpeechTextTest, CodePointOffsetsCountSurrogatePairsOnce) {
  EXPECT_EQ(CodePointOffsets(u"a\U0001D11Eb"), (std::vector<std::size_t>{0, 1, 3, 4}));
  const Text lone = {u'a', char16_t{0xD800}, u'b'};
  EXPECT_EQ(CodePointOffsets(lone), (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(CodePointOffsets(u""), (std::vector<std::size_t>{0}));
}

TEST(SpeechTextTest, RateAndPitchScales) {
  EXPECT_EQ(WordsPerMinute(0), 175);
  EXPECT_EQ(WordsPerMinute(5), 303);  // 175 * sqrt(3)
  EXPECT_EQ(WordsPerMinute(-5), 101);
  EXPECT_EQ(WordsPerMinute(10), 450);  // three times, limited to espeak-ng's fastest
  EXPECT_EQ(WordsPerMinute(-10), 80);  // a third, limited to espeak-ng's slowest
  EXPECT_EQ(WordsPerMinute(15), WordsPerMinute(10));
  for (int rate = -10; rate < 10; ++rate) EXPECT_LE(WordsPerMinute(rate), WordsPerMinute(rate + 1));
  EXPECT_EQ(EspeakPitch(0), 50);
  EXPECT_EQ(EspeakPitch(-10), 0);
  EXPECT_EQ(EspeakPitch(10), 100);
  EXPECT_EQ(EspeakPitch(-15), 0);
}

}  // namespace
}  // namespace parlino::platform::linux_impl
