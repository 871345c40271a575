// Without an audio device speech goes on silently, and the user is told once, by whichever voice
// generation speaks first. SDL's audio driver is one per process, so this runs in a program of its
// own.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/linux/espeak_voice_server.h"
#include "platform/linux/flite_engine_server.h"
#include "platform/linux/utf8_code_page.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/recording_voice_sink.h"

namespace parlino::platform::linux_impl {
namespace {

class AudioStopSink final : public LegacyNotifySink {
 public:
  void AttribChanged(std::uint32_t) override {}
  void AudioStart(std::uint64_t) override {}
  void AudioStop(std::uint64_t) override { stopped = true; }
  void Visual(std::uint64_t, char, char, std::uint32_t, const LegacyMouth&) override {}
  bool stopped = false;
};

TEST(NoAudio, SpeechPlaysSilentlyAndTheFirstGenerationToSpeakTellsOnce) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::FakeMessagePump pump;
  Utf8CodePage codePage;
  FliteEngineServer legacy(pump, codePage);
  EspeakVoiceServer modern(pump);
  std::vector<Text> legacyNotices;
  std::vector<Text> modernNotices;
  legacy.SetNoticeHandler([&](TextView notice) { legacyNotices.emplace_back(notice); });
  modern.SetNoticeHandler([&](TextView notice) { modernNotices.emplace_back(notice); });

  {
    auto modes = legacy.CreateEnumerator();
    auto engine = modes->Select(modes->Next()->modeId, legacy.CreateAudioDevice());
    const auto sink = std::make_shared<AudioStopSink>();
    engine->Register(sink);
    engine->TextData(std::string("hello") + '\0', nullptr);
    ASSERT_TRUE(pump.RunUntil([&] { return sink->stopped; }));
  }
  for (int reading = 1; reading <= 2; ++reading) {
    testing::RecordingVoiceSink sink;
    auto voice = modern.CreateVoice(sink);
    const std::int32_t stream = voice->Speak(u"hello", kSpeakAsync);
    ASSERT_TRUE(pump.RunUntil([&] { return sink.Received("end " + std::to_string(stream)); }))
        << "reading " << reading;
  }

  EXPECT_TRUE(modernNotices.empty());
  ASSERT_EQ(legacyNotices.size(), 1u);
  EXPECT_TRUE(legacyNotices[0].starts_with(u"No audio device is available ("))
      << ToUtf8(legacyNotices[0]);
  EXPECT_NE(legacyNotices[0].find(u"Parlino reads silently"), Text::npos);
}

}  // namespace
}  // namespace parlino::platform::linux_impl
