// The SAPI 4 engines through COM, with in-process stand-ins for the enumerator, the engines and
// the audio device (Wine has no SAPI 4), driven through the program's component TMSpeech.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/win32/sapi4_engine_server.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_message_pump.h"
#include "speech/sapi4/ansi_text.h"
#include "speech/sapi4/tm_speech.h"
#include "tests/win32/fake_sapi4.h"

namespace parlino {
namespace {

using platform::win32_impl::Sapi4EngineServer;
using platform::win32_impl::Win32CodePage;
using platform::win32_impl::Win32MessagePump;
using speech::TMSpeech;
using testing::FakeMode;
using testing::Sapi4;

using Calls = std::vector<std::string>;

// The calls after the `from`-th one.
Calls CallsFrom(std::size_t from) {
  return Calls(Sapi4().calls.begin() + static_cast<std::ptrdiff_t>(from), Sapi4().calls.end());
}

class Sapi4Test : public ::testing::Test {
 protected:
  Sapi4Test() {
    Sapi4().modes = {FakeMode("Mary", 1), FakeMode("Caf\xE9 voice", 2), FakeMode("Mary", 3)};
  }

  Win32MessagePump pump;
  Sapi4EngineServer server{pump};  // joins this thread to an apartment before the registration
  testing::FakeSapi4Registration registration;
  Win32CodePage codePage;
};

TEST_F(Sapi4Test, ListsTheModesInTheSystemsCodePage) {
  TMSpeech speech(server, codePage);
  EXPECT_TRUE(speech.Initialized());
  EXPECT_EQ(speech.Engines(), (std::vector<std::u16string>{u"Mary", u"Caf\u00E9 voice", u"Mary"}));
  EXPECT_EQ(Sapi4().calls, (Calls{"CreateInstance TTSEnumerator", "Reset", "Next 1", "Next 1",
                                  "Next 1", "Next 1"}));
}

TEST_F(Sapi4Test, SelectionMakesAnEngineInTheOrderOfTheCalls) {
  TMSpeech speech(server, codePage);
  const std::size_t before = Sapi4().calls.size();
  speech.SelectEngine(u"Caf\u00E9 voice");
  EXPECT_TRUE(speech.Selected());
  EXPECT_EQ(CallsFrom(before),
            (Calls{"CreateInstance MMAudioDest", "Reset", "Skip 1", "Next 1", "Select 2 device",
                   "QueryInterface ITTSAttributesA", "QueryInterface ITTSDialogsA", "Register 1",
                   // the limits, probed and put back
                   "PitchSet 65535", "PitchSet 0", "PitchSet 120", "RealTimeSet 4294967295",
                   "RealTimeSet 0", "RealTimeSet 256", "SpeedSet 4294967295", "SpeedSet 0",
                   "SpeedSet 170"}));
  EXPECT_EQ(speech.ModeName(), u"Caf\u00E9 voice");
  EXPECT_EQ(speech.ModeID(), u"{00000002-0000-0000-0000-000000000000}");
  EXPECT_EQ(speech.Gender(), u"FEMALE");
  EXPECT_EQ(speech.MaxPitch(), 250);
  EXPECT_EQ(speech.MinSpeed(), 60u);
}

TEST_F(Sapi4Test, SpeaksAnsiTextAndSetsTheValuesThroughTagsAndAttributes) {
  TMSpeech speech(server, codePage);
  speech.SelectEngine(u"Mary");
  const std::size_t before = Sapi4().calls.size();
  speech.SetSpeed(200);
  speech.SetPitch(100);
  speech.SetVolume(50);
  speech.Text = {speech::ToAnsiText(codePage, u"Caf\u00E9 \u0416")};
  speech.Speak();
  speech.Pause();
  speech.Resume();
  speech.Stop();
  EXPECT_EQ(CallsFrom(before),
            (Calls{"Inject \\Spd=200\\", "SpeedSet 200", "Inject \\Pit=100\\", "PitchSet 100",
                   "Inject \\Vol=2147450879\\", "VolumeSet 2147450879",
                   std::string("TextData 0 0 'Caf\xE9 ?\0'", 22), "AudioPause", "AudioResume",
                   "AudioReset"}));
  EXPECT_EQ(speech.GetVolume(), 49);
}

TEST_F(Sapi4Test, NotificationsFromTheEnginesThreadRunOnTheUserInterfaceThread) {
  TMSpeech speech(server, codePage);
  const DWORD uiThread = GetCurrentThreadId();
  std::vector<std::string> heard;
  speech.OnStart = [&](TMSpeech&) {
    EXPECT_EQ(GetCurrentThreadId(), uiThread);
    heard.push_back("start");
  };
  speech.OnStop = [&](TMSpeech&) { heard.push_back("stop"); };
  speech.SelectEngine(u"Mary");
  speech.Text = {speech::ToAnsiText(codePage, u"Hello world")};
  speech.Speak();

  std::thread engine([] {
    testing::SendAudioStart();
    testing::SendWordPosition(6);
    testing::SendAudioStop();
  });
  engine.join();
  EXPECT_TRUE(heard.empty());
  pump.ProcessPendingMessages();
  EXPECT_EQ(heard, (std::vector<std::string>{"start", "stop"}));
  EXPECT_EQ(speech.WordPosition(), 6u);
}

TEST_F(Sapi4Test, ANewSelectionSilencesTheOldEngineAndEveryReferenceIsGivenBack) {
  {
    TMSpeech speech(server, codePage);
    int stops = 0;
    speech.OnStop = [&](TMSpeech&) { ++stops; };
    speech.SelectEngine(u"Mary");
    testing::SendAudioStop();  // queued from the first engine...
    speech.SelectEngine(u"Mary");
    pump.ProcessPendingMessages();
    EXPECT_EQ(stops, 0);  // ...and dropped, as the engine was unregistered before it ran
    EXPECT_NE(std::find(Sapi4().calls.begin(), Sapi4().calls.end(), "UnRegister 1"),
              Sapi4().calls.end());
    testing::SendAudioStop();  // the second engine's notifications arrive
    pump.ProcessPendingMessages();
    EXPECT_EQ(stops, 1);
  }
  pump.ProcessPendingMessages();
  EXPECT_EQ(Sapi4().liveObjects, 0);
  // Every sink of the program that an engine held was freed when the engine let it go.
  ASSERT_FALSE(Sapi4().sinkReleases.empty());
  for (const ULONG left : Sapi4().sinkReleases) EXPECT_EQ(left, 0u);
}

// Wine has no SAPI 4: the component lists nothing and says so by Initialized, without an error.
TEST(Sapi4OnWine, NoEnginesInstalled) {
  Win32MessagePump pump;
  Sapi4EngineServer server(pump);
  Win32CodePage codePage;
  TMSpeech speech(server, codePage);
  EXPECT_FALSE(speech.Initialized());
  EXPECT_TRUE(speech.Engines().empty());
}

}  // namespace
}  // namespace parlino
