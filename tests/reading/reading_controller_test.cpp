#include "reading/reading_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "tests/fakes/cp1252_code_page.h"
#include "tests/fakes/fake_capture_services.h"
#include "tests/fakes/fake_legacy_engines.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_voice_server.h"

namespace parlino::reading {
namespace {

using speech::VoiceGeneration;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The voice list: legacy modes first, then the modern voices with their suffix.
class FakeDefaultVoice final : public DefaultVoice {
 public:
  explicit FakeDefaultVoice(std::vector<std::string>& log) : log_(log) {}
  std::vector<Text> names;
  int selected = 0;
  bool fail = false;

  void SelectDefaultVoice() override {
    log_.push_back("SelectDefaultVoice");
    if (fail) throw std::runtime_error("no voice");
  }
  int SelectedVoiceIndex() const override { return selected; }
  int VoiceIndexOfName(TextView name) const override {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == name) return static_cast<int>(i);
    }
    return -1;
  }

 private:
  std::vector<std::string>& log_;
};

class FakeSlotTable final : public SlotTable {
 public:
  std::map<int, SlotRow> rows;
  std::optional<SlotRow> Slot(int n) const override {
    const auto row = rows.find(n);
    return row == rows.end() ? std::nullopt : std::optional<SlotRow>(row->second);
  }
};

class FakeReadingView final : public ReadingView {
 public:
  Text caption = u"Pause";
  bool animating = false;
  std::vector<TrayPicture> pictures;
  void SetPauseCaption(TextView text) override { caption = Text(text); }
  void SetAnimationRunning(bool running) override { animating = running; }
  void ShowTrayPicture(TrayPicture picture) override { pictures.push_back(picture); }
};

// A controller over fake engines and a fake clipboard; every service writes into one log, so
// the order of a reading's steps shows.
class ReadingControllerTest : public ::testing::Test {
 protected:
  ReadingControllerTest() {
    clipboard.journal = &log();
    keyboard.journal = &log();
    primary.journal = &log();
    defaultVoice.names = {u"Anna (SAPI5)", u"Bob (SAPI5)"};
    defaultVoice.selected = 0;
  }

  std::vector<std::string>& log() { return voices.log; }
  void Select(const char16_t* text) { clipboard.reads = {Text(text)}; }
  // The modern voice's calls, without the catalogue's and the capture's entries.
  std::vector<std::string> VoiceCalls() const {
    std::vector<std::string> calls;
    for (const std::string& entry : voices.log) {
      if (entry.starts_with("Set") || entry.starts_with("Speak") || entry == "Pause" ||
          entry == "Resume") {
        calls.push_back(entry);
      }
    }
    return calls;
  }
  // Legacy modes before the modern voices: mode names in the catalogue, in engine order.
  void AddLegacyModes() {
    legacyEngines.modes = {testing::MakeFakeMode("Mary"), testing::MakeFakeMode("Mike")};
    sapi4 = std::make_unique<speech::TMSpeech>(legacyEngines, codePage);
    defaultVoice.names.insert(defaultVoice.names.begin(), {u"Mary", u"Mike"});
    sapi4Available = true;
  }
  ReadingController& Controller() {
    if (!controller) {
      controller = std::make_unique<ReadingController>(
          ReadingServices{*sapi4, sapi5, codePage, defaultVoice, slots, capture, view, beeper,
                          sapi4Available, sapi5Available});
    }
    return *controller;
  }

  testing::FakeMessagePump pump;
  testing::FakeVoiceServer voices{pump, {u"Anna", u"Bob"}};
  testing::FakeLegacyEngineServer legacyEngines;
  testing::Cp1252CodePage codePage;
  std::unique_ptr<speech::TMSpeech> sapi4 =
      std::make_unique<speech::TMSpeech>(legacyEngines, codePage);
  speech::TSpVoice sapi5{voices};
  FakeDefaultVoice defaultVoice{voices.log};
  FakeSlotTable slots;
  testing::FakeClipboard clipboard;
  testing::FakeFocusCopy focusCopy;
  testing::FakeKeyboardInput keyboard;
  testing::FakePrimarySelection primary;
  testing::VirtualClock clock;
  SelectedTextCapture capture{{clipboard, focusCopy, keyboard, clock, pump, &primary},
                              [](TextView raw) { return Text(raw); }};
  FakeReadingView view;
  testing::FakeBeeper beeper;
  bool sapi4Available = false;  // as the startup finds it with no legacy modes
  bool sapi5Available = true;
  std::unique_ptr<ReadingController> controller;
};

TEST_F(ReadingControllerTest, ModernDefaultVoiceReadsOnAFreshObject) {
  sapi5.Connect();
  Select(u"Hello there");
  Controller().DefaultHotKeyHotKey();
  EXPECT_THAT(log(), ElementsAre("CreateVoice", "SelectDefaultVoice", "backup", "keys", "read",
                                 "restore", "Release", "CreateVoice", "SelectDefaultVoice",
                                 "Speak  2", "Speak Hello there 1"));
  EXPECT_EQ(beeper.beeps, 0);
  EXPECT_EQ(Controller().ReadingEngine, std::nullopt);
}

TEST_F(ReadingControllerTest, HighlightedTextIsReadWithTheDefaultVoiceAndNoCopy) {
  sapi5.Connect();
  primary.highlighted = u"Highlighted here";
  Controller().ReadHighlightedText();
  EXPECT_THAT(log(),
              ElementsAre("CreateVoice", "SelectDefaultVoice", "primary", "Release", "CreateVoice",
                          "SelectDefaultVoice", "Speak  2", "Speak Highlighted here 1"));
  EXPECT_EQ(beeper.beeps, 0);

  // A request while the primary selection is read is ignored, as during a copy.
  primary.whileReading = [&] { Controller().ReadHighlightedText(); };
  Controller().ReadHighlightedText();
  EXPECT_EQ(std::count(log().begin(), log().end(), "primary"), 2);
  EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(ReadingControllerTest, LegacyDefaultVoiceSpeaksAnsiText) {
  AddLegacyModes();
  sapi4->SelectEngine(u"Mike");
  defaultVoice.selected = 1;
  Select(u"Caf\u00E9 \u0416");
  Controller().DefaultHotKeyHotKey();
  ASSERT_FALSE(legacyEngines.instances.empty());
  EXPECT_THAT(legacyEngines.instances.back()->texts, ElementsAre(std::string("Caf\xE9 ?\0", 7)));
  EXPECT_EQ(voices.log.back(), "restore");  // the modern voice was not touched
}

TEST_F(ReadingControllerTest, LongSelectionIsCutAtTheLimitWithoutSplittingAPair) {
  Text text(kMaxReadingLength + 8800, u'a');
  text[kMaxReadingLength - 1] = 0xD83D;  // a pair that straddles the limit
  text[kMaxReadingLength] = 0xDE00;
  clipboard.reads = {text};
  Controller().DefaultHotKeyHotKey();
  const std::string spoken = VoiceCalls().back();
  EXPECT_EQ(spoken, "Speak " + std::string(kMaxReadingLength - 1, 'a') + " 1");
}

TEST_F(ReadingControllerTest, ErrorInAReadingBeepsOnceAndSaysNothingElse) {
  defaultVoice.fail = true;
  Controller().DefaultHotKeyHotKey();
  EXPECT_EQ(beeper.beeps, 1);
  EXPECT_THAT(VoiceCalls(), IsEmpty());
}

TEST_F(ReadingControllerTest, RequestsDuringACaptureAreIgnored) {
  // The capture processes messages while it waits: a second request arrives then.
  int nested = 0;
  pump.Post([&] {
    Controller().DefaultHotKeyHotKey();
    ++nested;
  });
  Select(u"once");
  Controller().DefaultHotKeyHotKey();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(keyboard.copies, 1);
  EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(ReadingControllerTest, MiddleButtonReadsOnlyWhileDown) {
  Controller().MouseTimerTimer(false);
  EXPECT_EQ(keyboard.copies, 0);
  Controller().MouseTimerTimer(true);
  Controller().MouseTimerTimer(true);  // still held at the next tick: read again
  EXPECT_EQ(keyboard.copies, 2);
}

struct SlotCase {
  const char* name;
  SlotRow row;
  std::vector<std::string> calls;
  int beeps;
};

void PrintTo(const SlotCase& c, std::ostream* os) {
  *os << c.name;
}

class ModernSlot : public ReadingControllerTest, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(ModernSlot, ReadsWithTheSlotsValues) {
  slots.rows[3] = GetParam().row;
  Select(u"text");
  Controller().SelectSlot(3);
  EXPECT_EQ(VoiceCalls(), GetParam().calls);
  EXPECT_EQ(beeper.beeps, GetParam().beeps);
  EXPECT_EQ(Controller().ReadingEngine, VoiceGeneration::Sapi5);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModernSlot,
    ::testing::Values(SlotCase{"values",
                               {u"Bob", u"150", u"105", u"100", VoiceGeneration::Sapi5},
                               {"Pause", "SetVoice Bob", "SetRate -2", "SetVolume 100", "Speak  2",
                                "Speak <pitch middle=\"-5\">text 1"},
                               0},
                      SlotCase{"speed_not_a_number",
                               {u"Bob", u"abc", u"105", u"100", VoiceGeneration::Sapi5},
                               {"Pause", "SetVoice Bob", "Speak  2", "Speak text 1"},
                               1},
                      SlotCase{"voice_not_installed",
                               {u"Zoe", u"180", u"180", u"80", VoiceGeneration::Sapi5},
                               {"Pause", "Speak  2", "Speak text 1"},
                               1}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ReadingControllerTest, ModernSlotSilencesTheLegacyVoiceFirst) {
  AddLegacyModes();
  sapi4->SelectEngine(u"Mary");
  slots.rows[0] = {u"Anna", u"180", u"180", u"100", VoiceGeneration::Sapi5};
  Controller().SelectSlot(0);
  EXPECT_THAT(legacyEngines.instances.back()->calls, ::testing::Contains("AudioReset"));
  EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(ReadingControllerTest, LegacySlotSelectsItsEngineWithItsValues) {
  AddLegacyModes();
  sapi4->SelectEngine(u"Mary");
  slots.rows[1] = {u"Mike", u"200", u"130", u"50", VoiceGeneration::Sapi4};
  Select(u"slot text");
  Controller().SelectSlot(1);
  EXPECT_EQ(beeper.beeps, 0);
  const auto& mike = *legacyEngines.instances.back();
  EXPECT_EQ(mike.mode.info.modeName, "Mike");
  EXPECT_THAT(mike.texts, ElementsAre(std::string("slot text\0", 10)));
  EXPECT_EQ(mike.mode.speed.value, 200u);
  EXPECT_EQ(mike.mode.pitch.value, 130u);
  EXPECT_EQ(Controller().ReadingEngine, VoiceGeneration::Sapi4);
}

TEST_F(ReadingControllerTest, SlotOfAMissingGenerationReadsNothingSilently) {
  slots.rows[0] = {u"Mary", u"200", u"130", u"50", VoiceGeneration::Sapi4};
  Controller().SelectSlot(0);
  EXPECT_EQ(keyboard.copies, 0);
  EXPECT_EQ(beeper.beeps, 0);
  EXPECT_EQ(Controller().ReadingEngine, VoiceGeneration::Sapi4);
}

TEST_F(ReadingControllerTest, DefaultReadingAfterASlotCarriesNoPitch) {
  slots.rows[0] = {u"Bob", u"150", u"105", u"100", VoiceGeneration::Sapi5};
  Controller().SelectSlot(0);
  Select(u"plain");
  Controller().DefaultHotKeyHotKey();
  EXPECT_EQ(VoiceCalls().back(), "Speak plain 1");
}

// The reading state: (ReadingActive, ReadingPaused) and what the tray shows.
TEST_F(ReadingControllerTest, StatesFollowEventsAndTheToggle) {
  auto& reading = Controller();
  sapi5.Connect();

  reading.Stopreading1Click();  // idle: nothing happens
  EXPECT_FALSE(reading.ReadingPaused);
  EXPECT_EQ(view.caption, u"Pause");

  reading.SpeechStarted();
  EXPECT_TRUE(reading.ReadingActive);
  EXPECT_TRUE(view.animating);

  reading.Stopreading1Click();  // pause
  EXPECT_TRUE(reading.ReadingPaused);
  EXPECT_FALSE(reading.ReadingActive);
  EXPECT_FALSE(view.animating);
  EXPECT_EQ(view.caption, u"Resume");
  EXPECT_EQ(view.pictures.back(), TrayPicture::Normal);
  EXPECT_EQ(VoiceCalls().back(), "Pause");

  reading.WordSpoken();  // a late word cannot restart the animation
  EXPECT_FALSE(view.animating);

  reading.Stopreading1Click();  // resume
  EXPECT_TRUE(reading.ReadingActive);
  EXPECT_TRUE(view.animating);
  EXPECT_EQ(view.caption, u"Pause");
  EXPECT_EQ(VoiceCalls().back(), "Resume");

  reading.SpeechEnded();  // ends by itself: idle, caption untouched
  EXPECT_FALSE(reading.ReadingActive);
  EXPECT_FALSE(view.animating);
  EXPECT_EQ(view.caption, u"Pause");
}

TEST_F(ReadingControllerTest, EndWhilePausedKeepsTheSlotsGeneration) {
  auto& reading = Controller();
  reading.ReadingEngine = VoiceGeneration::Sapi4;
  reading.SpeechStarted();
  reading.Stopreading1Click();
  reading.SpeechEnded();
  EXPECT_TRUE(reading.ReadingPaused);
  EXPECT_EQ(reading.ReadingEngine, VoiceGeneration::Sapi4);

  reading.ReadingPaused = false;
  reading.SpeechStarted();
  reading.SpeechEnded();
  EXPECT_EQ(reading.ReadingEngine, std::nullopt);
}

TEST_F(ReadingControllerTest, ToggleActsOnThePausedSlotsGeneration) {
  AddLegacyModes();
  sapi4->SelectEngine(u"Mary");
  auto& reading = Controller();
  reading.ReadingEngine = VoiceGeneration::Sapi4;  // a legacy slot reading was paused and abandoned
  defaultVoice.selected = 2;                       // the default voice is modern
  reading.SpeechStarted();
  reading.Stopreading1Click();
  EXPECT_THAT(legacyEngines.instances.back()->calls, ::testing::Contains("AudioPause"));
  EXPECT_THAT(VoiceCalls(), IsEmpty());
}

TEST_F(ReadingControllerTest, FirstAnimationStartsWithTwoSilentTicks) {
  auto& reading = Controller();
  reading.TrayAnimation_TimerTimer();
  reading.TrayAnimation_TimerTimer();
  EXPECT_THAT(view.pictures, IsEmpty());
  for (int tick = 0; tick < 4; ++tick) reading.TrayAnimation_TimerTimer();
  EXPECT_THAT(view.pictures, ElementsAre(TrayPicture::Frame1, TrayPicture::Frame2,
                                         TrayPicture::Normal, TrayPicture::Frame1));
}

}  // namespace
}  // namespace parlino::reading
