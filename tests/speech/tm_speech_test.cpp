#include "speech/sapi4/tm_speech.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/flite_engine_server.h"
#include "platform/linux/flite_library.h"
#include "platform/linux/utf8_code_page.h"
#include "platform/platform_error.h"
#include "speech/sapi4/ansi_text.h"
#include "tests/fakes/cp1252_code_page.h"
#include "tests/fakes/fake_legacy_engines.h"
#include "tests/fakes/fake_message_pump.h"

namespace parlino::speech {
namespace {

using namespace std::string_literals;
using testing::Cp1252CodePage;
using ::testing::ElementsAre;
using testing::FakeLegacyEngineServer;
using testing::FakeLegacyMode;
using testing::MakeFakeMode;

// Throws unless `call` raises EMSpeechException with exactly `message`.
template <typename Call>
void ExpectRaises(Call call, const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "nothing raised, expected \"" << message << "\"";
  } catch (const EMSpeechException& e) {
    EXPECT_EQ(e.what(), message);
  }
}

std::vector<FakeLegacyMode> StandardModes() {
  FakeLegacyMode mary = MakeFakeMode("Mary in Stereo", "Mary", 1);
  FakeLegacyMode mike = MakeFakeMode("Mike", "Michael", 2);
  mike.pitch = {80, 160, 100};
  mike.speed = {100, 300, 150};
  FakeLegacyMode secondMary = MakeFakeMode("Mary in Stereo", "Mary Two", 1);
  FakeLegacyMode broken = MakeFakeMode("Broken");
  broken.failsToSelect = true;
  return {mary, mike, secondMary, broken};
}

class TMSpeechTest : public ::testing::Test {
 protected:
  FakeLegacyEngineServer server{StandardModes()};
  Cp1252CodePage codePage;

  testing::FakeLegacyInstance& LastInstance() { return *server.instances.back(); }
};

TEST_F(TMSpeechTest, ListsEveryModeInOrderIncludingDuplicates) {
  TMSpeech speech(server, codePage);
  EXPECT_TRUE(speech.Initialized());
  EXPECT_FALSE(speech.Selected());
  EXPECT_THAT(speech.Engines(),
              ElementsAre(u"Mary in Stereo", u"Mike", u"Mary in Stereo", u"Broken"));
}

TEST_F(TMSpeechTest, ModeNamesComeFromTheAnsiCodePage) {
  server.modes = {MakeFakeMode("Andr\xE9")};
  TMSpeech speech(server, codePage);
  EXPECT_THAT(speech.Engines(), ElementsAre(u"André"));
}

struct EnumerationCase {
  const char* name;
  bool enumeratorFails;
  std::optional<std::size_t> nextFailsAfter;
  std::size_t listed;
  bool initialized;
};

void PrintTo(const EnumerationCase& c, std::ostream* os) {
  *os << c.name;
}

class EnumerationFailureTest : public ::testing::TestWithParam<EnumerationCase> {};

TEST_P(EnumerationFailureTest, KeepsWhatWasListedAndRaisesLater) {
  FakeLegacyEngineServer server(StandardModes());
  if (GetParam().enumeratorFails) server.failing.insert("CreateEnumerator");
  server.nextFailsAfter = GetParam().nextFailsAfter;
  Cp1252CodePage codePage;

  TMSpeech speech(server, codePage);  // raises nothing

  EXPECT_EQ(speech.Engines().size(), GetParam().listed);
  EXPECT_EQ(speech.Initialized(), GetParam().initialized);
  if (!GetParam().initialized) {
    ExpectRaises([&] { speech.SelectEngine(u"Mary in Stereo"); }, "Speech Engine not initialized");
    ExpectRaises([&] { speech.Speak(); }, "Speech Engine not initialized");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnumerationFailureTest,
    ::testing::Values(EnumerationCase{"no_enumerator", true, std::nullopt, 0, false},
                      EnumerationCase{"fails_at_once", false, 0, 0, false},
                      EnumerationCase{"fails_after_two", false, 2, 2, false},
                      EnumerationCase{"lists_all", false, std::nullopt, 4, true}));

// On Linux the engines are Flite's voices: the component finds each one's own limits by
// probing, and speaks through it with both notifications.
TEST(TMSpeechLinuxTest, ListsTheFliteVoicesFindsTheirLimitsAndSpeaks) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  testing::FakeMessagePump pump;
  platform::linux_impl::Utf8CodePage codePage;
  platform::linux_impl::FliteEngineServer server(pump, codePage);
  TMSpeech speech(server, codePage);
  EXPECT_TRUE(speech.Initialized());
  const auto& voices = platform::linux_impl::FliteLibrary::Instance().voices();
  ASSERT_EQ(speech.Engines().size(), 5u);
  ASSERT_EQ(voices.size(), 5u);
  for (std::size_t i = 0; i < voices.size(); ++i) {
    const auto& voice = voices[i];
    speech.SelectEngine(speech.Engines()[i]);
    ASSERT_TRUE(speech.Selected()) << voice.name;
    EXPECT_EQ(speech.Speaker(), FromUtf8("Flite " + voice.name));
    EXPECT_EQ(speech.Gender(), voice.gender == 1 ? u"FEMALE" : u"MALE");
    EXPECT_EQ(speech.MinSpeed(), voice.minSpeed);
    EXPECT_EQ(speech.MaxSpeed(), voice.maxSpeed);
    EXPECT_EQ(speech.MinPitch(), voice.minPitch);
    EXPECT_EQ(speech.MaxPitch(), voice.maxPitch);
    EXPECT_EQ(speech.GetSpeed(), voice.normalSpeed);
    EXPECT_EQ(speech.GetPitch(), voice.normalPitch);
    EXPECT_EQ(speech.GetVolume(), 100);
    speech.SetVolume(50);
    EXPECT_EQ(speech.GetVolume(), 49);
  }
  std::vector<std::string> events;
  speech.OnStart = [&](TMSpeech&) { events.push_back("start"); };
  speech.OnStop = [&](TMSpeech&) { events.push_back("stop"); };
  speech.SelectEngine(speech.Engines()[0]);
  speech.Text = {ToAnsiText(codePage, u"hello world")};
  speech.Speak();
  ASSERT_TRUE(pump.RunUntil([&] { return events.size() == 2; }));
  EXPECT_THAT(events, ElementsAre("start", "stop"));
}

TEST_F(TMSpeechTest, SelectsTheFirstModeOfAName) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mary in Stereo");
  EXPECT_TRUE(speech.Selected());
  EXPECT_EQ(speech.Speaker(), u"Mary");
  EXPECT_EQ(LastInstance().mode.info.speaker, "Mary");
  EXPECT_EQ(server.audioDevices, 1);
  ExpectRaises([&] { speech.SelectEngine(u"mike"); }, "Specified Speech Engine not found");
}

TEST_F(TMSpeechTest, CopiesTheModeDescription) {
  FakeLegacyMode mode = MakeFakeMode(
      "Stra\xDF"
      "e",
      "Gr\xE4te", 0);
  mode.info.engineId = {
      0xD67C0280, 0xC743, 0x11CD, {0x80, 0xE5, 0x00, 0xAA, 0x00, 0x3E, 0x4B, 0x50}};
  mode.info.modeId = {0x0A, 0x0B, 0x0C, {1, 2, 3, 4, 5, 6, 7, 0xEF}};
  mode.info.mfgName = "Maker";
  mode.info.productName = "Product";
  mode.info.dialect = "Standard";
  mode.info.style = "Business";
  mode.info.age = 30;
  mode.info.features = 0x12;
  mode.info.interfaces = 0x34;
  server.modes = {mode};
  TMSpeech speech(server, codePage);
  EXPECT_EQ(speech.EngineID(), u"");
  speech.SelectEngine(u"Straße");

  EXPECT_EQ(speech.ModeName(), u"Straße");
  EXPECT_EQ(speech.Speaker(), u"Gräte");
  EXPECT_EQ(speech.EngineID(), u"{D67C0280-C743-11CD-80E5-00AA003E4B50}");
  EXPECT_EQ(speech.ModeID(), u"{0000000A-000B-000C-0102-0304050607EF}");
  EXPECT_EQ(speech.MfgName(), u"Maker");
  EXPECT_EQ(speech.ProductName(), u"Product");
  EXPECT_EQ(speech.Dialect(), u"Standard");
  EXPECT_EQ(speech.Style(), u"Business");
  EXPECT_EQ(speech.Gender(), u"NEUTRAL");
  EXPECT_EQ(speech.Age(), 30u);
  EXPECT_EQ(speech.Features(), 0x12u);
  EXPECT_EQ(speech.Interfaces(), 0x34u);
}

TEST_F(TMSpeechTest, GenderTextAndUnknownGenderKeepsThePreviousText) {
  server.modes = {MakeFakeMode("N", "", 0), MakeFakeMode("F", "", 1), MakeFakeMode("M", "", 2),
                  MakeFakeMode("X", "", 3)};
  TMSpeech speech(server, codePage);
  const std::vector<std::pair<std::u16string, std::u16string>> steps = {
      {u"F", u"FEMALE"}, {u"X", u"FEMALE"}, {u"M", u"MALE"}, {u"X", u"MALE"}, {u"N", u"NEUTRAL"}};
  for (const auto& [name, gender] : steps) {
    speech.SelectEngine(name);
    EXPECT_EQ(speech.Gender(), gender) << "after selecting " << ToUtf8(name);
  }
}

TEST_F(TMSpeechTest, ProbesEachEnginesOwnLimitsAndRestoresItsValues) {
  FakeLegacyMode wide = MakeFakeMode("Wide");
  wide.pitch = {0, 65535, 1000};
  wide.speed = {1, 0xFFFFFFFF, 500};
  wide.realTime = {0, 0xFFFFFFFF, 7};
  server.modes = {StandardModes()[0], StandardModes()[1], wide};
  TMSpeech speech(server, codePage);

  struct Limits {
    const char16_t* name;
    std::uint16_t minPitch, maxPitch;
    std::uint32_t minSpeed, maxSpeed, minRealTime, maxRealTime;
    std::uint16_t pitch;
    std::uint32_t speed;
  };
  for (const Limits& l : {Limits{u"Mary in Stereo", 50, 250, 60, 450, 0x40, 0x400, 120, 170},
                          Limits{u"Mike", 80, 160, 100, 300, 0x40, 0x400, 100, 150},
                          Limits{u"Wide", 0, 65535, 1, 0xFFFFFFFF, 0, 0xFFFFFFFF, 1000, 500}}) {
    SCOPED_TRACE(ToUtf8(l.name));
    speech.SelectEngine(l.name);
    EXPECT_EQ(speech.MinPitch(), l.minPitch);
    EXPECT_EQ(speech.MaxPitch(), l.maxPitch);
    EXPECT_EQ(speech.MinSpeed(), l.minSpeed);
    EXPECT_EQ(speech.MaxSpeed(), l.maxSpeed);
    EXPECT_EQ(speech.MinRealTime(), l.minRealTime);
    EXPECT_EQ(speech.MaxRealTime(), l.maxRealTime);
    EXPECT_EQ(speech.MinVolume(), 0);
    EXPECT_EQ(speech.MaxVolume(), 100);
    EXPECT_EQ(speech.GetPitch(), l.pitch);
    EXPECT_EQ(speech.GetSpeed(), l.speed);
  }
  EXPECT_THAT(LastInstance().calls,
              ElementsAre("Register 3", "PitchSet 65535", "PitchSet 0", "PitchSet 1000",
                          "RealTimeSet 4294967295", "RealTimeSet 0", "RealTimeSet 7",
                          "SpeedSet 4294967295", "SpeedSet 0", "SpeedSet 500"));
}

TEST_F(TMSpeechTest, FailingProbesAreIgnored) {
  server.failing = {"PitchSet", "SpeedGet"};
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  EXPECT_TRUE(speech.Selected());
  EXPECT_EQ(speech.MaxPitch(), 100);  // the engine kept its pitch
  EXPECT_EQ(speech.MinPitch(), 100);
  EXPECT_EQ(speech.MaxSpeed(), 0u);
}

struct SelectionFailure {
  const char* name;
  std::string failingCall;  // empty: the mode itself cannot be selected
  bool instanceLeft;        // the engine instance that remains afterwards
};

void PrintTo(const SelectionFailure& c, std::ostream* os) {
  *os << c.name;
}

class SelectionFailureTest : public ::testing::TestWithParam<SelectionFailure> {};

TEST_P(SelectionFailureTest, LeavesTheComponentUnselectedWithoutAMessage) {
  FakeLegacyEngineServer server(StandardModes());
  Cp1252CodePage codePage;
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  ASSERT_TRUE(speech.Selected());

  const std::u16string target = GetParam().failingCall.empty() ? u"Broken" : u"Mary in Stereo";
  if (!GetParam().failingCall.empty()) server.failing.insert(GetParam().failingCall);
  speech.SelectEngine(target);  // raises nothing

  EXPECT_FALSE(speech.Selected());
  ExpectRaises([&] { speech.Speak(); }, "Speech Engine not selected");
  if (GetParam().instanceLeft) {
    speech.Stop();  // acts on the instance that is left
  } else {
    ExpectRaises([&] { speech.Stop(); }, "Speech Engine not selected");
  }

  server.failing.clear();
  speech.SelectEngine(u"Mary in Stereo");
  EXPECT_TRUE(speech.Selected());
  speech.Speak();
  EXPECT_EQ(server.instances.back()->texts.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Steps, SelectionFailureTest,
                         ::testing::Values(SelectionFailure{"audio_output", "CreateAudioDevice",
                                                            true},
                                           SelectionFailure{"unregister", "UnRegister", true},
                                           SelectionFailure{"select", "Select", false},
                                           SelectionFailure{"mode_fails", "", false},
                                           SelectionFailure{"register", "Register", true}));

TEST_F(TMSpeechTest, SelectionFailsWhenTheModeIsGoneSinceListing) {
  TMSpeech speech(server, codePage);
  server.modes.resize(1);
  speech.SelectEngine(u"Mike");
  EXPECT_FALSE(speech.Selected());
}

TEST_F(TMSpeechTest, ANewSelectionSilencesTheOldInstancesNotifications) {
  TMSpeech speech(server, codePage);
  int stops = 0;
  speech.OnStop = [&](TMSpeech&) { ++stops; };
  speech.SelectEngine(u"Mike");
  speech.SelectEngine(u"Mike");
  ASSERT_EQ(server.instances.size(), 2u);
  EXPECT_TRUE(server.instances[0]->released);
  EXPECT_THAT(server.instances[0]->calls, ::testing::Contains("UnRegister 1"));

  server.instances[0]->SendAudioStop();
  EXPECT_EQ(stops, 0);
  server.instances[1]->SendAudioStop();
  EXPECT_EQ(stops, 1);
}

TEST_F(TMSpeechTest, SpeakSendsTheTextUpToItsFirstZeroByte) {
  TMSpeech speech(server, codePage);
  ExpectRaises([&] { speech.Speak(); }, "Speech Engine not selected");
  speech.SelectEngine(u"Mike");

  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{ToAnsiText(codePage, u"Hello, Zoë")}, "Hello, Zo\xEB\0"s},
      {{ToAnsiText(codePage, u"")}, "\0"s},
      {{ToAnsiText(codePage, u"one\0two"s)}, "one\0"s},
      {{"plain"}, "plain\r\n\0"s},
      {{}, "\0"s},
  };
  for (const auto& [lines, sent] : cases) {
    speech.Text = lines;
    speech.Speak();
    EXPECT_EQ(LastInstance().texts.back(), sent);
  }
  EXPECT_NE(LastInstance().bufferSink, nullptr);
}

TEST_F(TMSpeechTest, SpeakSwallowsEngineFailures) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  server.failing.insert("TextData");
  speech.Text = {ToAnsiText(codePage, u"x")};
  speech.Speak();
  EXPECT_TRUE(LastInstance().texts.empty());
}

TEST_F(TMSpeechTest, PauseResumeStopDriveTheEngineAndThePausedFlag) {
  TMSpeech speech(server, codePage);
  ExpectRaises([&] { speech.Pause(); }, "Speech Engine not selected");
  speech.SelectEngine(u"Mike");
  LastInstance().calls.clear();

  speech.Pause();
  EXPECT_TRUE(speech.Paused());
  speech.Resume();
  EXPECT_FALSE(speech.Paused());
  speech.Pause();
  speech.Stop();
  EXPECT_FALSE(speech.Paused());
  speech.Pause();
  speech.Speak();
  EXPECT_FALSE(speech.Paused());
  EXPECT_THAT(LastInstance().calls, ElementsAre("AudioPause", "AudioResume", "AudioPause",
                                                "AudioReset", "AudioPause", "TextData"));

  speech.Pause();
  speech.SelectEngine(u"Mike");  // a new instance starts unpaused, the flag stays
  EXPECT_TRUE(speech.Paused());
}

TEST_F(TMSpeechTest, PauseResumeStopRaiseEngineFailures) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  server.failing = {"AudioPause", "AudioResume", "AudioReset"};
  EXPECT_THROW(speech.Pause(), PlatformError);
  EXPECT_FALSE(speech.Paused());
  EXPECT_THROW(speech.Resume(), PlatformError);
  EXPECT_THROW(speech.Stop(), PlatformError);
}

TEST_F(TMSpeechTest, SettersInjectTheirTagBeforeSettingAndTheEngineClamps) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  LastInstance().calls.clear();

  speech.SetPitch(120);
  speech.SetSpeed(9999);
  speech.SetVolume(50);
  EXPECT_THAT(LastInstance().calls,
              ElementsAre("Inject \\Pit=120\\", "PitchSet 120", "Inject \\Spd=9999\\",
                          "SpeedSet 9999", "Inject \\Vol=2147450879\\", "VolumeSet 2147450879"));
  EXPECT_EQ(speech.GetPitch(), 120);
  EXPECT_EQ(speech.GetSpeed(), 300u);
}

TEST_F(TMSpeechTest, OnlyTheVolumeSetIsChecked) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  server.failing = {"Inject", "PitchSet", "SpeedSet", "PitchGet"};
  speech.SetPitch(90);
  speech.SetSpeed(200);
  speech.SetVolume(50);
  EXPECT_EQ(speech.GetPitch(), 0);
  EXPECT_EQ(speech.GetSpeed(), 150u);
  EXPECT_EQ(speech.GetVolume(), 49);
  server.failing = {"VolumeSet"};
  EXPECT_THROW(speech.SetVolume(20), PlatformError);
  EXPECT_EQ(speech.GetVolume(), 49);
}

struct VolumeCase {
  std::int32_t percent;
  std::uint32_t sent;
  std::int32_t readBack;
};

void PrintTo(const VolumeCase& c, std::ostream* os) {
  *os << c.percent << "%";
}

class VolumeTest : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeTest, ConvertsPercentToBothChannelsAndBack) {
  FakeLegacyEngineServer server({MakeFakeMode("Mike")});
  Cp1252CodePage codePage;
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  speech.SetVolume(GetParam().percent);
  EXPECT_EQ(server.instances[0]->mode.volume, GetParam().sent);
  EXPECT_EQ(speech.GetVolume(), GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(Percent, VolumeTest,
                         ::testing::Values(VolumeCase{100, 4294967295u, 100},
                                           VolumeCase{50, 2147450879u, 49},
                                           VolumeCase{1, 655u * 65537u, 0}, VolumeCase{0, 0, 0},
                                           VolumeCase{150, 4294967295u, 100},  // beyond the scale
                                           VolumeCase{-5, 0, 0}));

TEST_F(TMSpeechTest, VolumeReadsTheLeftChannel) {
  server.modes[1].volume = 0x0000FFFF;  // right channel silent
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  EXPECT_EQ(speech.GetVolume(), 100);
}

TEST_F(TMSpeechTest, AudioNotificationsReachTheHandlers) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  LastInstance().SendAudioStart();  // no handlers assigned: nothing happens

  std::vector<std::string> events;
  speech.OnStart = [&](TMSpeech& sender) {
    EXPECT_EQ(&sender, &speech);
    events.push_back("start");
  };
  speech.OnStop = [&](TMSpeech& sender) {
    EXPECT_EQ(&sender, &speech);
    events.push_back("stop");
  };
  speech.OnVisual = [&](TMSpeech&, std::uint32_t hints, const platform::LegacyMouth& mouth) {
    events.push_back("visual " + std::to_string(hints) + " " + std::to_string(mouth.width));
  };
  LastInstance().SendAudioStart();
  LastInstance().SendVisual(7, platform::LegacyMouth{.width = 3});
  LastInstance().SendAudioStop();
  EXPECT_THAT(events, ElementsAre("start", "visual 7 3", "stop"));

  speech.Text = {ToAnsiText(codePage, u"two words")};
  speech.Speak();
  EXPECT_EQ(speech.WordPosition(), 0u);
  LastInstance().SendWordPosition(4);
  EXPECT_EQ(speech.WordPosition(), 4u);
}

TEST_F(TMSpeechTest, AStopHandlerMaySelectAndSpeakAgain) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  int stops = 0;
  speech.OnStop = [&](TMSpeech& sender) {
    if (++stops > 1) return;
    sender.SelectEngine(u"Mary in Stereo");
    sender.Text = {ToAnsiText(codePage, u"again")};
    sender.Speak();
  };
  server.instances[0]->SendAudioStop();
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(LastInstance().texts, std::vector<std::string>{"again\0"s});
  LastInstance().SendAudioStop();
  EXPECT_EQ(stops, 2);
}

TEST_F(TMSpeechTest, SinksKeptAfterTheComponentDiesNoLongerReachIt) {
  std::shared_ptr<platform::LegacyNotifySink> notifySink;
  std::shared_ptr<platform::LegacyBufferNotifySink> bufferSink;
  bool called = false;
  {
    TMSpeech speech(server, codePage);
    speech.OnStop = [&](TMSpeech&) { called = true; };
    speech.SelectEngine(u"Mike");
    speech.Speak();
    notifySink = LastInstance().sinks.begin()->second;
    bufferSink = LastInstance().bufferSink;
  }
  EXPECT_TRUE(LastInstance().released);
  notifySink->AudioStop(0);
  bufferSink->WordPosition(0, 3);
  EXPECT_FALSE(called);
}

TEST_F(TMSpeechTest, FileOutputSetsTheFileBeforeEachTextAndFlushesAtTheEnd) {
  TMSpeech speech(server, codePage);
  speech.Output = TSpeechOutput::soFile;
  speech.Filename = u"/tmp/out.wav";
  speech.SelectEngine(u"Mike");
  ASSERT_EQ(server.audioFiles.size(), 1u);
  EXPECT_EQ(server.audioDevices, 0);
  auto& file = *server.audioFiles[0];

  speech.Text = {ToAnsiText(codePage, u"x")};
  speech.Speak();
  EXPECT_EQ(file.files, std::vector<std::u16string>{u"/tmp/out.wav"});
  EXPECT_EQ(LastInstance().texts.size(), 1u);
  LastInstance().SendAudioStop();
  EXPECT_EQ(file.flushes, 1);

  server.failing.insert("AudioFile::Set");  // the file cannot be opened: nothing is spoken
  speech.Speak();
  EXPECT_EQ(LastInstance().texts.size(), 1u);
}

TEST_F(TMSpeechTest, FileOutputWithoutASelectionForItSpeaksNothing) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mike");
  speech.Output = TSpeechOutput::soFile;  // takes effect at the next selection only
  speech.Speak();
  EXPECT_TRUE(LastInstance().texts.empty());
}

}  // namespace
}  // namespace parlino::speech
