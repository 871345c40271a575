// Without an audio device speech goes on silently, and the user is told once. SDL's audio driver
// is one per process, so this runs in a program of its own.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/espeak_voice_server.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/recording_voice_sink.h"

namespace parlino::platform::linux_impl {
namespace {

TEST(NoAudio, SpeechPlaysSilentlyAndTheNoticeComesOnce) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::FakeMessagePump pump;
  EspeakVoiceServer server(pump);
  std::vector<Text> notices;
  server.SetNoticeHandler([&](TextView notice) { notices.emplace_back(notice); });

  for (int reading = 1; reading <= 2; ++reading) {
    testing::RecordingVoiceSink sink;
    auto voice = server.CreateVoice(sink);
    const std::int32_t stream = voice->Speak(u"hello", kSpeakAsync);
    ASSERT_TRUE(pump.RunUntil([&] { return sink.Received("end " + std::to_string(stream)); }))
        << "reading " << reading;
  }
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_TRUE(notices[0].starts_with(u"No audio device is available (")) << ToUtf8(notices[0]);
  EXPECT_NE(notices[0].find(u"Parlino reads silently"), Text::npos);
}

}  // namespace
}  // namespace parlino::platform::linux_impl
