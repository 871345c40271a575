// The slot editor's checks and conversions, and the slot hot keys, without windows.
#include <gtest/gtest.h>

#include "slots/slot_hot_keys.h"
#include "slots/slot_rules.h"
#include "tests/fakes/fake_platform.h"

namespace parlino::voice_slots {
namespace {

constexpr speech::VoiceGeneration kLegacy = speech::VoiceGeneration::Sapi4;
constexpr speech::VoiceGeneration kModern = speech::VoiceGeneration::Sapi5;

constexpr std::uint16_t kCtrlA = 0x4041;
constexpr std::uint16_t kCtrlB = 0x4042;
constexpr std::uint16_t kCtrlBackspace = 0x4008;

struct SaveCase {
  const char* name;
  SlotInput input;
  std::optional<TextView> refusal;
};

void PrintTo(const SaveCase& c, std::ostream* os) {
  *os << c.name;
}

class SaveValidation : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveValidation, RefusesWithTheRightMessage) {
  EXPECT_EQ(SaveRefusal(GetParam().input), GetParam().refusal);
}

const std::vector<std::uint16_t> kProgram{kCtrlBackspace, 0x407A, 0x407B};

INSTANTIATE_TEST_SUITE_P(
    Table, SaveValidation,
    ::testing::Values(SaveCase{"no hot key", {0, true, kProgram, {}, true}, kSpecifyHotKey},
                      SaveCase{"no hot key comes before no voice",
                               {0, false, kProgram, {}, false},
                               kSpecifyHotKey},
                      SaveCase{"a new slot on the reading hot key",
                               {kCtrlBackspace, true, kProgram, {}, true},
                               kHotKeyTaken},
                      SaveCase{"a new slot on another slot's hot key",
                               {kCtrlA, true, kProgram, {kCtrlB, kCtrlA}, true},
                               kHotKeyTaken},
                      SaveCase{"an edited slot may take another slot's hot key",
                               {kCtrlA, false, kProgram, {kCtrlB, kCtrlA}, true},
                               std::nullopt},
                      SaveCase{"an edited slot may take the reading hot key",
                               {kCtrlBackspace, false, kProgram, {}, true},
                               std::nullopt},
                      SaveCase{"Ctrl+Num 1 is not Ctrl+1, though both read Ctrl+1",
                               {0x4061, true, kProgram, {0x4031}, true},
                               std::nullopt},
                      SaveCase{"a free hot key without a voice",
                               {kCtrlA, true, kProgram, {kCtrlB}, false},
                               kSelectVoice},
                      SaveCase{"a free hot key with a voice",
                               {kCtrlA, true, kProgram, {kCtrlB}, true},
                               std::nullopt}));

TEST(SlotRules, StoredModernValuesBecomeSteps) {
  EXPECT_EQ(Sapi5Positions({u"", u"150", u"105", u"100", kModern, 0}).speed, -2);
  const Positions p = Sapi5Positions({u"", u"37", u"38", u"0", kModern, 0});
  EXPECT_EQ(p.speed, -10);  // 37 / 15 = 2.47 rounds to 2
  EXPECT_EQ(p.pitch, -9);   // 38 / 15 = 2.53 rounds to 3
  EXPECT_EQ(p.volume, 0);
  EXPECT_EQ(Sapi5Positions({u"", u"400", u"180", u"50", kModern, 0}).speed, 15);
  EXPECT_THROW(Sapi5Positions({u"", u"abc", u"105", u"100", kModern, 0}), std::invalid_argument);
  EXPECT_THROW(Sapi4Positions({u"", u"170", u"", u"100", kLegacy, 0}), std::invalid_argument);
  const Positions legacy = Sapi4Positions({u"", u"170", u"120", u"$40", kLegacy, 0});
  EXPECT_EQ(legacy.speed, 170);
  EXPECT_EQ(legacy.pitch, 120);
  EXPECT_EQ(legacy.volume, 64);
}

TEST(SlotRules, TextsOfTheListAndTheTest) {
  EXPECT_EQ(DeleteSlotQuestion(0), u"Are you sure to delete slot 1?");
  EXPECT_EQ(DeleteSlotQuestion(2), u"Are you sure to delete slot 3?");
  EXPECT_EQ(SlotTestText(u"  \t "), kTestFallback);
  EXPECT_EQ(SlotTestText(u"  word \r\n"), u"word");
  EXPECT_EQ(SlotTestMarkup(-5, u"Hi"), u"<pitch middle=\"-5\">Hi</pitch>");
}

TEST(SlotHotKeysTest, OneHotKeyPerSlotNamedAndTaggedByItsNumber) {
  testing::FakeHotKeyRegistrar registrar;
  std::vector<int> pressed;
  SlotHotKeys keys(registrar, [&](int tag) { pressed.push_back(tag); });
  registrar.refused = {kCtrlB};  // another program holds it

  keys.Create({kCtrlA, kCtrlB, 0x4043, kCtrlA});
  ASSERT_EQ(keys.Count(), 4);
  for (int n = 0; n < 4; ++n) EXPECT_EQ(keys.Find(SlotHotKeys::Name(n))->Tag, n);
  EXPECT_EQ(SlotHotKeys::Name(3), u"SlotHotKey_3");
  EXPECT_EQ(keys.Find(u"SlotHotKey_4"), nullptr);
  // The desktop's and the first slot's combinations stay with them.
  EXPECT_TRUE(keys.Find(u"SlotHotKey_0")->Active());
  EXPECT_FALSE(keys.Find(u"SlotHotKey_1")->Active());
  EXPECT_TRUE(keys.Find(u"SlotHotKey_2")->Active());
  EXPECT_FALSE(keys.Find(u"SlotHotKey_3")->Active());

  EXPECT_TRUE(registrar.Press(0x4043));
  EXPECT_TRUE(registrar.Press(kCtrlA));
  EXPECT_EQ(pressed, (std::vector<int>{2, 0}));

  // A new set replaces the old one; releasing leaves nothing registered.
  keys.Create({kCtrlB});
  EXPECT_FALSE(registrar.Holds(kCtrlA));
  EXPECT_EQ(keys.Count(), 1);
  keys.Release();
  EXPECT_TRUE(registrar.registered.empty());
  EXPECT_EQ(keys.Count(), 0);
}

}  // namespace
}  // namespace parlino::voice_slots
