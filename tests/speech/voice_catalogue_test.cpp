#include "speech/catalogue/voice_catalogue.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "speech/catalogue/value_scales.h"

namespace parlino::speech {
namespace {

TEST(VoiceCatalogue, IndexRuleSplitsAtTheLegacyCount) {
  struct Case {
    int index, sapi4Count;
    CatalogueEntry entry;
  };
  for (const Case& c :
       {Case{0, 2, {VoiceGeneration::Sapi4, 0}}, Case{1, 2, {VoiceGeneration::Sapi4, 1}},
        Case{2, 2, {VoiceGeneration::Sapi5, 0}}, Case{5, 2, {VoiceGeneration::Sapi5, 3}},
        Case{0, 0, {VoiceGeneration::Sapi5, 0}}}) {
    EXPECT_EQ(EntryAt(c.index, c.sapi4Count), c.entry) << c.index << " of " << c.sapi4Count;
  }
  // No entry names no engine, whatever the count.
  EXPECT_THROW(EntryAt(-1, 2), std::out_of_range);
  EXPECT_THROW(EntryAt(-1, 0), std::out_of_range);
}

TEST(VoiceCatalogue, LegacyNameIsTheSpeakerOnlyWhenStrictlyShorter) {
  struct Case {
    const char16_t* mode;
    std::optional<TextView> speaker;
    const char16_t* shown;
  };
  for (const Case& c : {Case{u"Mary in Stereo", u"Mary", u"Mary"},
                        Case{u"Abcd", u"Wxyz", u"Abcd"},        // as long: the mode name
                        Case{u"Mike", u"Michael", u"Mike"},     // longer: the mode name
                        Case{u"Eve", u"", u""},                 // an empty speaker is shorter
                        Case{u"Eve", std::nullopt, u"Eve"}}) {  // mode could not be selected
    EXPECT_EQ(Sapi4DisplayName(c.mode, c.speaker), c.shown) << ToUtf8(c.mode);
  }
}

TEST(VoiceCatalogue, StoredNamesFindTheirEntryAgain) {
  EXPECT_EQ(Sapi5DisplayName(u""), u" (SAPI5)");
  for (const Text& description :
       {Text(u"Anna"), Text(), Text(u"X (SAPI5)"), Text(u"(SAPI5)"), Text(u"Zoë")}) {
    const Text shown = Sapi5DisplayName(description);
    EXPECT_EQ(StoredVoiceName(shown, VoiceGeneration::Sapi5), description) << ToUtf8(shown);
  }
  // A legacy name is stored as shown, even one that looks like a modern voice.
  EXPECT_EQ(StoredVoiceName(u"Foo (SAPI5)", VoiceGeneration::Sapi4), u"Foo (SAPI5)");
}

TEST(ValueScales, WorkedValues) {
  EXPECT_EQ(Readout(-10, true), 30);
  EXPECT_EQ(Readout(0, true), 180);
  EXPECT_EQ(Readout(10, true), 330);
  EXPECT_EQ(Readout(-5, true), 105);
  EXPECT_EQ(Readout(-5, false), -5);
  EXPECT_EQ(Readout(4500, false), 4500);

  EXPECT_EQ(Sapi5Position(37), -10);  // 2.47 rounds down
  EXPECT_EQ(Sapi5Position(38), -9);   // 2.53 rounds up
  EXPECT_EQ(Sapi5Position(400), 15);  // beyond the slider; the caller clamps or sends it
  for (std::int32_t step = -10; step <= 10; ++step) {
    EXPECT_EQ(Sapi5Position(Sapi5Readout(step)), step);
  }

  EXPECT_EQ(PitchPrefix(-5), u"<pitch middle=\"-5\">");
  EXPECT_EQ(PitchPrefix(0), u"<pitch middle=\"0\">");
}

TEST(ValueScales, LegacyUnsetValues) {
  EXPECT_EQ(Sapi4HalfSpan(60, 450), 195u);      // half the span, not the midpoint 255
  EXPECT_EQ(Sapi4HalfSpan(50, 251), 100u);      // truncated
  EXPECT_EQ(Sapi4HalfSpan(5, 3), 0x7FFFFFFFu);  // the difference is unsigned

  EXPECT_EQ(VolumeToSend(70, 0), 70);
  EXPECT_EQ(VolumeToSend(0, 40), 40);
  EXPECT_EQ(VolumeToSend(0, 0), 100);  // a volume of 0 is never sent

  EXPECT_EQ(SliderUnits(450), 450);
  EXPECT_EQ(SliderUnits(0xFFFFFFFFu), std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace parlino::speech
