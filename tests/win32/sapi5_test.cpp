// The SAPI 5 voices through COM, with an in-process stand-in for SpVoice (Wine's own SpVoice
// cannot list voices), driven through the program's adapter TSpVoice.
#include <windows.h>

#include <gtest/gtest.h>
#include <oleauto.h>
#include <sapi.h>

#include <string>
#include <vector>

#include "platform/platform_error.h"
#include "platform/win32/sapi5_voice_server.h"
#include "platform/win32/win32_message_pump.h"
#include "speech/sapi5/sp_voice.h"
#include "tests/win32/fake_sp_voice.h"

namespace parlino {
namespace {

using platform::kSpeakAsync;
using platform::kSpeakPurgeBeforeSpeak;
using platform::win32_impl::Sapi5VoiceServer;
using platform::win32_impl::Win32MessagePump;
using speech::TSpVoice;
using testing::FakeSapi5Registration;
using testing::FireVoiceEvent;
using testing::Sapi5;

using Calls = std::vector<std::string>;

class Sapi5Test : public ::testing::Test {
 protected:
  Win32MessagePump pump;
  Sapi5VoiceServer server{pump};  // joins this thread to an apartment before the registration
  FakeSapi5Registration registration;
  TSpVoice voice{server};
};

TEST_F(Sapi5Test, ConnectCreatesTheObjectListensToItThenTakesItsInterface) {
  voice.Connect();
  EXPECT_EQ(Sapi5().calls, (Calls{"CreateInstance", "QueryInterface IConnectionPointContainer",
                                  "FindConnectionPoint", "Advise", "QueryInterface ISpeechVoice"}));
  voice.Connect();  // connected: nothing happens
  EXPECT_EQ(Sapi5().calls.size(), 5u);
  EXPECT_EQ(Sapi5().liveVoices, 1);

  voice.Disconnect();
  EXPECT_EQ(Sapi5().calls.back(), "Unadvise 1");
  EXPECT_EQ(Sapi5().sinkReferencesLeft, 0);  // the program's sink is freed with it
  EXPECT_EQ(Sapi5().liveVoices, 0);          // and every reference to the voice given back
  voice.Disconnect();
}

TEST_F(Sapi5Test, TheRunningObjectIsTakenBeforeANewOne) {
  IUnknown* running = testing::NewFakeSpVoice();
  DWORD cookie = 0;
  ASSERT_EQ(RegisterActiveObject(running, CLSID_SpVoice, ACTIVEOBJECT_STRONG, &cookie), S_OK);
  voice.Connect();
  EXPECT_EQ(Sapi5().calls.front(), "QueryInterface IConnectionPointContainer");
  EXPECT_EQ(Sapi5().liveVoices, 1);
  voice.Disconnect();
  RevokeActiveObject(cookie, nullptr);
  running->Release();
  EXPECT_EQ(Sapi5().liveVoices, 0);
}

TEST_F(Sapi5Test, ListsTheVoicesAndSpeaksWithTheChosenOne) {
  // The calling patterns of a reading: the voice by position, its values, a purge, the text.
  const auto tokens = voice.GetVoices(u"", u"");
  ASSERT_EQ(tokens->Count(), 2);
  EXPECT_EQ(tokens->Item(0)->GetDescription(0), u"Anna");
  voice.SetVoice(tokens->Item(1));
  voice.SetRate(-3);
  voice.SetVolume(80);
  voice.Speak(u"", kSpeakPurgeBeforeSpeak);
  voice.Speak(u"<pitch middle=\"-2\">Hello", kSpeakAsync);
  voice.Pause();
  voice.Resume();
  const Calls expected{"GetVoices '' ''", "Count",
                       "Item 0",          "GetDescription 0",
                       "Item 1",          "putref_Voice Bruno",
                       "put_Rate -3",     "put_Volume 80",
                       "Speak '' 2",      "Speak '<pitch middle=\"-2\">Hello' 1",
                       "Pause",           "Resume"};
  EXPECT_EQ(Calls(Sapi5().calls.begin() + 5, Sapi5().calls.end()), expected);
}

TEST_F(Sapi5Test, AFailingCallRaisesItsStatus) {
  const auto tokens = voice.GetVoices(u"", u"");
  try {
    tokens->Item(2);
    FAIL() << "no error for a voice that does not exist";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.status(), E_INVALIDARG);
  }
  voice.Disconnect();

  Sapi5().createResult = E_OUTOFMEMORY;
  try {
    voice.Connect();
    FAIL() << "no error for a voice that cannot be made";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.status(), E_OUTOFMEMORY);
  }
  EXPECT_FALSE(voice.Connected());
}

TEST_F(Sapi5Test, EventsReachTheHandlersThroughTheMessageLoop) {
  std::vector<std::string> heard;
  voice.OnStartStream = [&](TSpVoice&, std::int32_t stream) {
    heard.push_back("start " + std::to_string(stream));
  };
  voice.OnWord = [&](TSpVoice&, std::int32_t stream, std::int32_t position, std::int32_t length) {
    heard.push_back("word " + std::to_string(stream) + " " + std::to_string(position) + " " +
                    std::to_string(length));
  };
  voice.OnEndStream = [&](TSpVoice&, std::int32_t stream) {
    heard.push_back("end " + std::to_string(stream));
  };
  voice.Connect();
  FireVoiceEvent(1, {1, 0});            // StartStream(StreamNumber, StreamPosition)
  FireVoiceEvent(6, {1, 10, 2, 0, 3});  // Phoneme: no handler
  FireVoiceEvent(5, {1, 10, 6, 5});     // Word(StreamNumber, StreamPosition, Position, Length)
  FireVoiceEvent(2, {1, 20});           // EndStream
  EXPECT_TRUE(heard.empty());           // nothing runs inside the engine's call
  pump.ProcessPendingMessages();
  EXPECT_EQ(heard, (std::vector<std::string>{"start 1", "word 1 6 5", "end 1"}));
}

TEST_F(Sapi5Test, AReleasedVoicesEventsAreDroppedEvenWhenQueued) {
  std::vector<std::string> heard;
  voice.OnStartStream = [&](TSpVoice& sender, std::int32_t) {
    heard.push_back("start");
    sender.Disconnect();  // a new reading replaces the voice
  };
  voice.OnEndStream = [&](TSpVoice&, std::int32_t) { heard.push_back("end"); };
  voice.Connect();
  FireVoiceEvent(1, {1, 0});
  FireVoiceEvent(2, {1, 20});
  pump.ProcessPendingMessages();
  EXPECT_EQ(heard, (std::vector<std::string>{"start"}));
  EXPECT_EQ(Sapi5().liveVoices, 0);

  // A new voice's events arrive again.
  voice.Connect();
  FireVoiceEvent(2, {1, 20});
  pump.ProcessPendingMessages();
  EXPECT_EQ(heard, (std::vector<std::string>{"start", "end"}));
}

// Wine's own SpVoice, without the stand-in: it has neither the voice events nor a voice list
// (E_NOTIMPL), which the adapter reports as an error with that status, without a crash.
TEST(Sapi5OnWine, TheSystemsVoiceReportsWhatItCannotDo) {
  Win32MessagePump pump;
  Sapi5VoiceServer server(pump);
  TSpVoice voice(server);
  EXPECT_THROW(
      {
        voice.Connect();
        voice.GetVoices(u"", u"")->Count();
      },
      PlatformError);
}

}  // namespace
}  // namespace parlino
