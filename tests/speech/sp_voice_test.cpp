#include "speech/sapi5/sp_voice.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform_error.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/fake_voice_server.h"

namespace parlino::speech {
namespace {

using platform::kSpeakAsync;
using platform::kSpeakPurgeBeforeSpeak;
using testing::FakeMessagePump;
using testing::FakeVoiceServer;
using Log = std::vector<std::string>;

class SpVoiceTest : public ::testing::Test {
 protected:
  SpVoiceTest() {
    voice.OnStartStream = [this](TSpVoice& sender, std::int32_t stream) {
      Record(sender, "start " + std::to_string(stream));
    };
    voice.OnEndStream = [this](TSpVoice& sender, std::int32_t stream) {
      Record(sender, "end " + std::to_string(stream));
    };
    voice.OnWord = [this](TSpVoice& sender, std::int32_t stream, std::int32_t position,
                          std::int32_t length) {
      Record(sender, "word " + std::to_string(stream) + " " + std::to_string(position) + " " +
                         std::to_string(length));
    };
  }

  void Record(TSpVoice& sender, std::string event) {
    EXPECT_EQ(&sender, &voice);
    EXPECT_EQ(std::this_thread::get_id(), uiThread);
    events.push_back(std::move(event));
  }

  FakeMessagePump pump;
  FakeVoiceServer server{pump};
  TSpVoice voice{server};
  Log events;
  const std::thread::id uiThread = std::this_thread::get_id();
};

TEST_F(SpVoiceTest, EveryOperationConnectsFirstWhenDisconnected) {
  const std::vector<std::pair<std::function<void(TSpVoice&)>, std::string>> operations = {
      {[](TSpVoice& v) { v.SetRate(4); }, "SetRate 4"},
      {[](TSpVoice& v) { v.SetVolume(60); }, "SetVolume 60"},
      {[](TSpVoice& v) { v.Speak(u"hi", kSpeakAsync); }, "Speak hi 1"},
      {[](TSpVoice& v) { v.Pause(); }, "Pause"},
      {[](TSpVoice& v) { v.Resume(); }, "Resume"},
      {[](TSpVoice& v) { EXPECT_EQ(v.GetVoices(u"", u"")->Count(), 2); }, "GetVoices"},
  };
  for (const auto& [operation, call] : operations) {
    SCOPED_TRACE(call);
    server.log.clear();
    voice.Disconnect();
    EXPECT_FALSE(voice.Connected());
    operation(voice);
    EXPECT_TRUE(voice.Connected());
    const Log expected = {"CreateVoice", call};
    // The release of the previous object (if any) comes first.
    EXPECT_EQ(Log(server.log.end() - 2, server.log.end()), expected);
  }
}

TEST_F(SpVoiceTest, VoiceTokenFromGetVoicesSelectsThatVoice) {
  const auto tokens = voice.GetVoices(u"", u"");
  voice.SetVoice(tokens->Item(1));
  EXPECT_EQ(server.voice()->voice, u"Fake Bert");
  EXPECT_THROW(tokens->Item(2), PlatformError);
}

TEST_F(SpVoiceTest, ConnectAndDisconnectDoNothingTheSecondTime) {
  voice.Disconnect();
  EXPECT_TRUE(server.log.empty());
  voice.Connect();
  voice.Connect();
  EXPECT_TRUE(voice.Connected());
  voice.Disconnect();
  voice.Disconnect();
  EXPECT_FALSE(voice.Connected());
  EXPECT_EQ(server.log, (Log{"CreateVoice", "Release"}));
}

TEST_F(SpVoiceTest, RateAfterDisconnectGoesToAFreshObjectWithTheDefaultVoice) {
  voice.SetVoice(voice.GetVoices(u"", u"")->Item(1));
  voice.Disconnect();
  voice.SetRate(-3);
  EXPECT_EQ(server.voice()->rate, -3);
  EXPECT_TRUE(server.voice()->voice.empty());
}

TEST_F(SpVoiceTest, FailedConnectLeavesTheAdapterDisconnected) {
  server.available = false;
  EXPECT_THROW(voice.Connect(), PlatformError);
  EXPECT_FALSE(voice.Connected());
  EXPECT_THROW(voice.Speak(u"hi", kSpeakAsync), PlatformError);
  EXPECT_FALSE(voice.Connected());
  server.available = true;
  voice.Connect();
  EXPECT_TRUE(voice.Connected());
}

TEST_F(SpVoiceTest, ErrorsOfTheObjectReachTheCallerWithTheirStatus) {
  voice.Connect();
  server.failing = {"Speak"};
  try {
    voice.Speak(u"hi", kSpeakAsync);
    FAIL() << "no error";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.status(), 3);
  }
  EXPECT_TRUE(voice.Connected());
}

TEST_F(SpVoiceTest, PurgeOnASilentVoiceSucceeds) {
  EXPECT_NO_THROW(voice.Speak(u"", kSpeakPurgeBeforeSpeak));
  pump.ProcessPendingMessages();
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(server.log, (Log{"CreateVoice", "Speak  2"}));
}

TEST_F(SpVoiceTest, EventsPostedFromAnotherThreadReachTheHandlersOnTheUserInterfaceThread) {
  const std::int32_t stream = voice.Speak(u"hello big world", kSpeakAsync);
  std::thread engine([voice = server.voice()] { voice->PlayNext(); });
  engine.join();
  EXPECT_TRUE(events.empty());  // nothing runs before the thread processes its messages
  pump.ProcessPendingMessages();
  const std::string s = std::to_string(stream);
  EXPECT_EQ(events, (Log{"start " + s, "word " + s + " 0 5", "word " + s + " 6 3",
                         "word " + s + " 10 5", "end " + s}));
}

TEST_F(SpVoiceTest, EventsOfAReleasedObjectNeverArrive) {
  voice.Speak(u"old text", kSpeakAsync);
  server.voice()->PlayNext();
  voice.Disconnect();
  voice.Connect();
  pump.ProcessPendingMessages();
  EXPECT_TRUE(events.empty());
}

TEST_F(SpVoiceTest, HandlerMayDisconnectTheAdapter) {
  voice.OnStartStream = [](TSpVoice& sender, std::int32_t) { sender.Disconnect(); };
  voice.Speak(u"two words", kSpeakAsync);
  server.voice()->PlayNext();
  pump.ProcessPendingMessages();
  EXPECT_FALSE(voice.Connected());
  EXPECT_TRUE(events.empty());  // the rest of the released object's events are dropped
  EXPECT_EQ(server.log.back(), "Release");
}

TEST_F(SpVoiceTest, HandlerMayStartAFreshReadingAndReplaceItself) {
  // The end of one reading starts the next on a fresh object, as the reading controller does.
  voice.OnEndStream = [this](TSpVoice& sender, std::int32_t) {
    sender.OnEndStream = nullptr;
    sender.Disconnect();
    sender.Connect();
    sender.Speak(u"", kSpeakPurgeBeforeSpeak);
    sender.Speak(u"next", kSpeakAsync);
    events.push_back("restarted");
  };
  voice.Speak(u"first", kSpeakAsync);
  server.voice()->PlayNext();
  pump.ProcessPendingMessages();
  server.voice()->PlayNext();
  pump.ProcessPendingMessages();
  EXPECT_EQ(events, (Log{"start 1", "word 1 0 5", "restarted", "start 1", "word 1 0 4"}));
  EXPECT_EQ(server.log, (Log{"CreateVoice", "Speak first 1", "Release", "CreateVoice", "Speak  2",
                             "Speak next 1"}));
}

}  // namespace
}  // namespace parlino::speech
