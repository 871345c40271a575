#include "app/say/say_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace parlino::say {
namespace {

TEST(SayOptionsTest, ReadsEveryOptionInBothForms) {
  const SayOptions options =
      ParseSayOptions({"--voice", "English (America)", "--rate=-4", "--volume", "60", "--pitch",
                       "3", "hello", "--", "--world"});
  EXPECT_EQ(options.voice, "English (America)");
  EXPECT_EQ(options.rate, -4);
  EXPECT_EQ(options.volume, 60);
  EXPECT_EQ(options.pitch, 3);
  EXPECT_EQ(options.words, (std::vector<std::string>{"hello", "--world"}));
  EXPECT_TRUE(ParseSayOptions({"--list-voices"}).listVoices);
  EXPECT_TRUE(ParseSayOptions({"-h"}).help);
  const SayOptions defaults = ParseSayOptions({});
  EXPECT_EQ(defaults.rate, 0);
  EXPECT_EQ(defaults.volume, 100);
  EXPECT_FALSE(defaults.pitch || defaults.voice);
}

TEST(SayOptionsTest, RejectsBadCommandLinesWithAReason) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--rate", "11"}, "--rate needs a whole number from -10 to 10, not \"11\""},
      {{"--volume=-1"}, "--volume needs a whole number from 0 to 100, not \"-1\""},
      {{"--pitch", "2x"}, "--pitch needs a whole number from -10 to 10, not \"2x\""},
      {{"--rate="}, "--rate needs a whole number from -10 to 10, not \"\""},
      {{"--voice"}, "--voice needs a value"},
      {{"--voice="}, "--voice needs a voice name"},
      {{"--speed", "3"}, "unknown option --speed"},
      {{"--help=yes"}, "unknown option --help=yes"},
  };
  for (const auto& [arguments, message] : cases) {
    try {
      ParseSayOptions(arguments);
      ADD_FAILURE() << "accepted " << arguments[0];
    } catch (const std::invalid_argument& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
}

TEST(SayOptionsTest, SpeaksTheWordsOrElseTheInputWithThePitchInFront) {
  std::istringstream input("from input\n");
  EXPECT_EQ(SpokenText(ParseSayOptions({"two", "words"}), input), u"two words");
  EXPECT_EQ(SpokenText(ParseSayOptions({"--pitch", "-5"}), input),
            u"<pitch middle=\"-5\">from input\n");
}

TEST(SayOptionsTest, PlacesTheStepsOnALegacyVoicesOwnRange) {
  // Speeds of 80 .. 200 .. 500 words per minute.
  EXPECT_EQ(LegacyValue(0, 80, 200, 500), 200u);
  EXPECT_EQ(LegacyValue(-10, 80, 200, 500), 80u);
  EXPECT_EQ(LegacyValue(10, 80, 200, 500), 500u);
  EXPECT_EQ(LegacyValue(-5, 80, 200, 500), 140u);
  EXPECT_EQ(LegacyValue(3, 80, 200, 500), 290u);
  EXPECT_EQ(LegacyValue(7, 98, 98, 98), 98u);  // a pitch the voice cannot change
}

TEST(SayOptionsTest, FindsAVoiceByItsListedNameOrAModernOneWithoutItsMark) {
  const std::vector<Text> names = {u"Flite kal", u"Flite slt", u"English (SAPI5)",
                                   u"Flite slt (SAPI5)"};
  EXPECT_EQ(FindVoice(names, 2, "Flite slt"), 1u);
  EXPECT_EQ(FindVoice(names, 2, "flite KAL"), 0u);
  EXPECT_EQ(FindVoice(names, 2, "English (SAPI5)"), 2u);
  EXPECT_EQ(FindVoice(names, 2, "english"), 2u);
  EXPECT_EQ(FindVoice(names, 2, "Flite slt (SAPI5)"), 3u);
  EXPECT_FALSE(FindVoice(names, 2, "Flite"));
  EXPECT_FALSE(FindVoice(names, 2, "Flite kal (SAPI5)"));  // a legacy name has no mark
}

}  // namespace
}  // namespace parlino::say
