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
    voice_.OnStartStream = [this](TSpVoice& sender, std::int32_t stream) {
      Record(sender, "start " + std::to_string(stream));
    };
    voice_.OnEndStream = [this](TSpVoice& sender, std::int32_t stream) {
      Record(sender, "end " + std::to_string(stream));
    };
    voice_.OnWord = [this](TSpVoice& sender, std::int32_t stream, std::int32_t position,
                           std::int32_t length) {
      Record(sender, "word " + std::to_string(stream) + " " + std::to_string(position) + " " +
                         std::to_string(length));
    };
  }

  void Record(TSpVoice& sender, std::string event) {
    EXPECT_EQ(&sender, &voice_);
    EXPECT_EQ(std::this_thread::get_id(), ui_thread_);
    events_.push_back(std::move(event));
  }

  FakeMessagePump pump_;
  FakeVoiceServer server_{pump_};
  TSpVoice voice_{server_};
  Log events_;
  const std::thread::id ui_thread_ = std::this_thread::get_id();
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
    server_.log.clear();
    voice_.Disconnect();
    EXPECT_FALSE(voice_.Connected());
    operation(voice_);
    EXPECT_TRUE(voice_.Connected());
    const Log expected = {"CreateVoice", call};
    // The release of the previous object (if any) comes first.
    EXPECT_EQ(Log(server_.log.end() - 2, server_.log.end()), expected);
  }
}

TEST_F(SpVoiceTest, VoiceTokenFromGetVoicesSelectsThatVoice) {
  const auto tokens = voice_.GetVoices(u"", u"");
  voice_.SetVoice(tokens->Item(1));
  EXPECT_EQ(server_.voice()->voice, u"Fake Bert");
  EXPECT_THROW(tokens->Item(2), PlatformError);
}

TEST_F(SpVoiceTest, ConnectAndDisconnectDoNothingTheSecondTime) {
  voice_.Disconnect();
  EXPECT_TRUE(server_.log.empty());
  voice_.Connect();
  voice_.Connect();
  EXPECT_TRUE(voice_.Connected());
  voice_.Disconnect();
  voice_.Disconnect();
  EXPECT_FALSE(voice_.Connected());
  EXPECT_EQ(server_.log, (Log{"CreateVoice", "Release"}));
}

TEST_F(SpVoiceTest, RateAfterDisconnectGoesToAFreshObjectWithTheDefaultVoice) {
  voice_.SetVoice(voice_.GetVoices(u"", u"")->Item(1));
  voice_.Disconnect();
  voice_.SetRate(-3);
  EXPECT_EQ(server_.voice()->rate, -3);
  EXPECT_TRUE(server_.voice()->voice.empty());
}

TEST_F(SpVoiceTest, FailedConnectLeavesTheAdapterDisconnected) {
  server_.available = false;
  EXPECT_THROW(voice_.Connect(), PlatformError);
  EXPECT_FALSE(voice_.Connected());
  EXPECT_THROW(voice_.Speak(u"hi", kSpeakAsync), PlatformError);
  EXPECT_FALSE(voice_.Connected());
  server_.available = true;
  voice_.Connect();
  EXPECT_TRUE(voice_.Connected());
}

TEST_F(SpVoiceTest, ErrorsOfTheObjectReachTheCallerWithTheirStatus) {
  voice_.Connect();
  server_.failing = {"Speak"};
  try {
    voice_.Speak(u"hi", kSpeakAsync);
    FAIL() << "no error";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.status(), 3);
  }
  EXPECT_TRUE(voice_.Connected());
}

TEST_F(SpVoiceTest, PurgeOnASilentVoiceSucceeds) {
  EXPECT_NO_THROW(voice_.Speak(u"", kSpeakPurgeBeforeSpeak));
  pump_.ProcessPendingMessages();
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(server_.log, (Log{"CreateVoice", "Speak  2"}));
}

TEST_F(SpVoiceTest, EventsPostedFromAnotherThreadReachTheHandlersOnTheUserInterfaceThread) {
  const std::int32_t stream = voice_.Speak(u"hello big world", kSpeakAsync);
  std::thread engine([voice = server_.voice()] { voice->PlayNext(); });
  engine.join();
  EXPECT_TRUE(events_.empty());  // nothing runs before the thread processes its messages
  pump_.ProcessPendingMessages();
  const std::string s = std::to_string(stream);
  EXPECT_EQ(events_, (Log{"start " + s, "word " + s + " 0 5", "word " + s + " 6 3",
                          "word " + s + " 10 5", "end " + s}));
}

TEST_F(SpVoiceTest, EventsOfAReleasedObjectNeverArrive) {
  voice_.Speak(u"old text", kSpeakAsync);
  server_.voice()->PlayNext();
  voice_.Disconnect();
  voice_.Connect();
  pump_.ProcessPendingMessages();
  EXPECT_TRUE(events_.empty());
}

TEST_F(SpVoiceTest, HandlerMayDisconnectTheAdapter) {
  voice_.OnStartStream = [](TSpVoice& sender, std::int32_t) { sender.Disconnect(); };
  voice_.Speak(u"two words", kSpeakAsync);
  server_.voice()->PlayNext();
  pump_.ProcessPendingMessages();
  EXPECT_FALSE(voice_.Connected());
  EXPECT_TRUE(events_.empty());  // the rest of the released object's events are dropped
  EXPECT_EQ(server_.log.back(), "Release");
}

TEST_F(SpVoiceTest, HandlerMayStartAFreshReadingAndReplaceItself) {
  // The end of one reading starts the next on a fresh object, as the reading controller does.
  voice_.OnEndStream = [this](TSpVoice& sender, std::int32_t) {
    sender.OnEndStream = nullptr;
    sender.Disconnect();
    sender.Connect();
    sender.Speak(u"", kSpeakPurgeBeforeSpeak);
    sender.Speak(u"next", kSpeakAsync);
    events_.push_back("restarted");
  };
  voice_.Speak(u"first", kSpeakAsync);
  server_.voice()->PlayNext();
  pump_.ProcessPendingMessages();
  server_.voice()->PlayNext();
  pump_.ProcessPendingMessages();
  EXPECT_EQ(events_, (Log{"start 1", "word 1 0 5", "restarted", "start 1", "word 1 0 4"}));
  EXPECT_EQ(server_.log, (Log{"CreateVoice", "Speak first 1", "Release", "CreateVoice", "Speak  2",
                              "Speak next 1"}));
}

}  // namespace
}  // namespace parlino::speech
