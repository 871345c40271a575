#include "platform/linux/espeak_voice_server.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/platform_error.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/recording_voice_sink.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/audio_samples.h"

namespace parlino::platform::linux_impl {
namespace {

using testing::FakeMessagePump;
using testing::RecordingVoiceSink;
using testing::Samples;
using Log = std::vector<std::string>;

constexpr int kSampleRate = 22050;
// How far behind the disk output's size may lag the samples already played: the file's stdio
// buffer (2048 samples) and a device buffer (512), with room for a late audio thread.
constexpr std::size_t kOutputLag = 4096;
const Text kLongText =
    u"Reading aloud takes a while. This sentence goes on and on so that there is time to pause, "
    u"to listen to the silence and to carry on again afterwards.";

// The voice's audio goes to files through SDL's disk driver, so the tests hear what was played.
class EspeakVoiceServerTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "disk", 1); }

  // The next voice object that speaks writes its audio to the file `name`.
  std::filesystem::path Output(const std::string& name) {
    const std::filesystem::path file = dir / name;
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    return file;
  }

  static std::size_t PlayedSamples(const std::filesystem::path& file) {
    struct stat status {};
    return stat(file.c_str(), &status) == 0 ? static_cast<std::size_t>(status.st_size) / 2 : 0;
  }

  bool WaitFor(const RecordingVoiceSink& sink, const std::string& event) {
    return pump.RunUntil([&] { return sink.Received(event); });
  }

  // Speaks `text` on a fresh object to the end; returns what was played.
  Samples SpeakToEnd(const std::string& name, TextView text, std::int32_t rate = 0,
                     std::int32_t volume = 100, RecordingVoiceSink* events = nullptr) {
    RecordingVoiceSink ownSink;
    RecordingVoiceSink& sink = events != nullptr ? *events : ownSink;
    const auto file = Output(name);
    {
      auto voice = server.CreateVoice(sink);
      voice->SetRate(rate);
      voice->SetVolume(volume);
      const std::int32_t stream = voice->Speak(text, kSpeakAsync);
      EXPECT_TRUE(WaitFor(sink, "end " + std::to_string(stream)));
    }
    return testing::ReadRawSamples(file);
  }

  testing::TempDir dir;
  FakeMessagePump pump;
  EspeakVoiceServer server{pump};
};

TEST_F(EspeakVoiceServerTest, HelloWorldSoundsLikeEspeakNgAndReportsEachWord) {
  RecordingVoiceSink sink;
  const Samples played = SpeakToEnd("hello.raw", u"hello world", 0, 100, &sink);
  const Samples reference = testing::EspeakNgRendering(dir.path(), "hello world");
  const double length = double(testing::FindSound(played).length());
  const double referenceLength = double(testing::FindSound(reference).length());
  EXPECT_GT(referenceLength, 0.4 * kSampleRate);
  EXPECT_NEAR(length, referenceLength, 0.1 * referenceLength);
  EXPECT_GT(testing::PeakLevel(played), 5000);
  EXPECT_EQ(sink.log, (Log{"start 1", "word 1 0 5", "word 1 6 5", "end 1"}));
}

TEST_F(EspeakVoiceServerTest, WordPositionsCountUtf16UnitsOfTheTextAsGiven) {
  RecordingVoiceSink sink;
  const Text text = u"<pitch middle=\"3\">h\u00e9llo \U0001D11E w\u00f6rld\nand a <b> c &amp; d";
  SpeakToEnd("words.raw", text, 4, 100, &sink);
  Log words;
  for (const std::string& entry : sink.log) {
    if (entry.starts_with("word")) words.push_back(entry);
  }
  // Markup-like text after the pitch element is spoken as it stands.
  ASSERT_GE(words.size(), 6u);
  EXPECT_EQ(words[0], "word 1 18 5");
  EXPECT_EQ(words[1], "word 1 27 5");
  EXPECT_EQ(words[2], "word 1 33 3");
  EXPECT_TRUE(sink.Received("word 1 40 1"));  // the b of <b>
  EXPECT_TRUE(sink.Received("word 1 46 3"));  // the amp of &amp;
  EXPECT_EQ(sink.log.front(), "start 1");
  EXPECT_EQ(sink.log.back(), "end 1");
}

TEST_F(EspeakVoiceServerTest, PitchPrefixChangesThePitchAndIsNotSpoken) {
  const Samples low = SpeakToEnd("low.raw", u"<pitch middle=\"-10\">hello world");
  const Samples high = SpeakToEnd("high.raw", u"<pitch middle=\"10\">hello world</pitch>");
  const Samples plain = SpeakToEnd("plain.raw", u"hello world");
  const double plainLength = double(testing::FindSound(plain).length());
  EXPECT_NEAR(double(testing::FindSound(low).length()), plainLength, 0.15 * plainLength);
  EXPECT_NEAR(double(testing::FindSound(high).length()), plainLength, 0.15 * plainLength);
  const double lowPitch = testing::MedianPitch(low, kSampleRate);
  const double plainPitch = testing::MedianPitch(plain, kSampleRate);
  const double highPitch = testing::MedianPitch(high, kSampleRate);
  EXPECT_LT(lowPitch * 1.2, plainPitch);
  EXPECT_LT(plainPitch * 1.2, highPitch);
}

TEST_F(EspeakVoiceServerTest, RateAndVolumeScaleTheSpeech) {
  const Samples normal = SpeakToEnd("normal.raw", u"hello world");
  const Samples fast = SpeakToEnd("fast.raw", u"hello world", 10);
  const Samples slow = SpeakToEnd("slow.raw", u"hello world", -10);
  const Samples quiet = SpeakToEnd("quiet.raw", u"hello world", 0, 50);
  RecordingVoiceSink silentEvents;
  const Samples silent = SpeakToEnd("silent.raw", u"hello world", 0, 0, &silentEvents);
  const double length = double(testing::FindSound(normal).length());
  EXPECT_LT(double(testing::FindSound(fast).length()), length / 2);
  EXPECT_GT(double(testing::FindSound(slow).length()), length * 1.8);
  EXPECT_NEAR(testing::PeakLevel(quiet), testing::PeakLevel(normal) / 2, 1000);
  EXPECT_EQ(testing::PeakLevel(silent), 0);
  EXPECT_EQ(silentEvents.log, (Log{"start 1", "word 1 0 5", "word 1 6 5", "end 1"}));
}

TEST_F(EspeakVoiceServerTest, PauseSilencesAtOnceAndResumeCarriesOnWithNothingLost) {
  const Samples reference = SpeakToEnd("reference.raw", kLongText);
  RecordingVoiceSink sink;
  const auto file = Output("paused.raw");
  std::size_t pausedAt = 0;
  std::size_t resumedAt = 0;
  {
    auto voice = server.CreateVoice(sink);
    voice->Speak(kLongText, kSpeakAsync);
    ASSERT_TRUE(WaitFor(sink, "word 1 8 5"));  // "aloud"
    voice->Pause();
    pausedAt = PlayedSamples(file);
    // A paused device goes on playing silence: the same thread would have reported any word
    // it reached before it wrote the half second of output that follows.
    ASSERT_TRUE(pump.RunUntil(
        [&] { return PlayedSamples(file) > pausedAt + 2 * kOutputLag + kSampleRate / 2; }));
    pump.ProcessPendingMessages();
    resumedAt = PlayedSamples(file);
    const std::size_t eventsWhilePaused = sink.log.size();
    voice->Resume();
    ASSERT_TRUE(WaitFor(sink, "end 1"));
    EXPECT_LE(eventsWhilePaused, 4u);  // start and at most the words already under way
  }
  const Samples played = testing::ReadRawSamples(file);
  ASSERT_GT(resumedAt, pausedAt + 2 * kOutputLag);
  const Samples duringPause(played.begin() + static_cast<std::ptrdiff_t>(pausedAt + kOutputLag),
                            played.begin() + static_cast<std::ptrdiff_t>(resumedAt));
  EXPECT_EQ(testing::PeakLevel(duringPause), 0);
  EXPECT_GT(testing::CountSound(
                Samples(played.begin(), played.begin() + static_cast<std::ptrdiff_t>(pausedAt))),
            0u);
  EXPECT_GT(testing::FindSound(played).end, resumedAt + kSampleRate);
  // Everything is heard once: no sample is skipped or repeated around the pause.
  const double heard = double(testing::CountSound(played));
  const double expected = double(testing::CountSound(reference));
  EXPECT_NEAR(heard, expected, 0.03 * expected);
}

TEST_F(EspeakVoiceServerTest, PurgeSilencesTheVoiceAndEndsItsStream) {
  RecordingVoiceSink sink;
  const auto file = Output("purged.raw");
  auto voice = server.CreateVoice(sink);
  EXPECT_EQ(voice->Speak(u"", kSpeakPurgeBeforeSpeak), 0);  // nothing to purge: fine
  voice->Speak(kLongText, kSpeakAsync);
  voice->Speak(u"and a second text", kSpeakAsync);
  ASSERT_TRUE(WaitFor(sink, "word 1 8 5"));
  voice->Speak(u"", kSpeakPurgeBeforeSpeak);
  const std::size_t purgedAt = PlayedSamples(file);
  // A silent third text plays after whatever would be left of the first two.
  EXPECT_EQ(voice->Speak(u"", kSpeakAsync), 3);
  ASSERT_TRUE(WaitFor(sink, "end 3"));
  const Log afterPurge(std::find(sink.log.begin(), sink.log.end(), "end 1"), sink.log.end());
  EXPECT_EQ(afterPurge, (Log{"end 1", "start 3", "end 3"}));
  voice.reset();
  const Samples played = testing::ReadRawSamples(file);
  EXPECT_GT(testing::CountSound(played), 0u);
  EXPECT_EQ(testing::FindSound(played, purgedAt + kOutputLag).length(), 0u);
}

TEST_F(EspeakVoiceServerTest, ReleasingStopsTheSpeechWithNoEndEvent) {
  auto sink = std::make_unique<RecordingVoiceSink>();
  const auto file = Output("released.raw");
  auto voice = server.CreateVoice(*sink);
  voice->Speak(kLongText, kSpeakAsync);
  ASSERT_TRUE(WaitFor(*sink, "word 1 8 5"));
  // Let events wait in the queue; they must not reach the sink once the object is gone.
  ASSERT_TRUE(pump.WaitForPosted());
  const Log before = sink->log;
  voice.reset();
  // The object's audio thread has stopped with it: whatever it posted is waiting now.
  pump.ProcessPendingMessages();
  EXPECT_EQ(sink->log, before);
  sink.reset();
  const Samples played = testing::ReadRawSamples(file);
  const Samples whole = testing::EspeakNgRendering(dir.path(), ToUtf8(kLongText));
  EXPECT_LT(played.size(), whole.size() / 2);  // the text takes ten seconds
}

TEST_F(EspeakVoiceServerTest, AHandlerMayReleaseTheObjectThatCallsIt) {
  // Releases the voice object at its first word, as a handler that disconnects does.
  class ReleasingSink final : public VoiceEventSink {
   public:
    void OnStartStream(std::int32_t) override { ++events; }
    void OnEndStream(std::int32_t) override { ++events; }
    void OnWord(std::int32_t, std::int32_t, std::int32_t) override {
      ++events;
      voice.reset();
    }
    std::unique_ptr<SpeechVoice> voice;
    int events = 0;
  };
  ReleasingSink sink;
  Output("released-by-handler.raw");
  sink.voice = server.CreateVoice(sink);
  sink.voice->Speak(u"one two three", kSpeakAsync);
  ASSERT_TRUE(pump.RunUntil([&] { return sink.voice == nullptr; }));
  // Released, the object posts nothing more; what it had posted is run and dropped here.
  pump.ProcessPendingMessages();
  EXPECT_EQ(sink.events, 2);  // the start and the first word
}

TEST_F(EspeakVoiceServerTest, TwoObjectsSpeakAtTheSameTime) {
  RecordingVoiceSink firstSink;
  RecordingVoiceSink secondSink;
  auto first = server.CreateVoice(firstSink);
  auto second = server.CreateVoice(secondSink);
  const auto firstFile = Output("first.raw");
  first->Speak(kLongText, kSpeakAsync);
  ASSERT_TRUE(WaitFor(firstSink, "start 1"));
  const auto secondFile = Output("second.raw");
  second->Speak(u"hello world", kSpeakAsync);
  ASSERT_TRUE(WaitFor(secondSink, "end 1"));
  // The short text was heard whole while the long one, started before it, still played.
  EXPECT_FALSE(firstSink.Received("end 1"));
  second.reset();
  first.reset();
  const Samples reference = testing::EspeakNgRendering(dir.path(), "hello world");
  const double referenceLength = double(testing::FindSound(reference).length());
  EXPECT_NEAR(double(testing::FindSound(testing::ReadRawSamples(secondFile)).length()),
              referenceLength, 0.1 * referenceLength);
  EXPECT_GT(testing::CountSound(testing::ReadRawSamples(firstFile)), 0u);
}

TEST_F(EspeakVoiceServerTest, ListsTheVoicesThatCanSpeakAndSelectsThem) {
  RecordingVoiceSink sink;
  auto voice = server.CreateVoice(sink);
  const auto voices = voice->GetVoices(u"", u"");
  ASSERT_GT(voices->Count(), 10);
  std::shared_ptr<const VoiceToken> german;
  const auto again = voice->GetVoices(u"", u"");
  ASSERT_EQ(again->Count(), voices->Count());
  for (std::int32_t i = 0; i < voices->Count(); ++i) {
    const Text name = voices->Item(i)->GetDescription(0);
    EXPECT_EQ(again->Item(i)->GetDescription(0), name);  // a stable order
    EXPECT_EQ(ToUtf8(name).find("mbrola"), std::string::npos);
    if (name == u"German") german = voices->Item(i);
  }
  EXPECT_THROW(voices->Item(voices->Count()), PlatformError);
  EXPECT_THROW(voice->GetVoices(u"Gender=Female", u""), PlatformError);
  ASSERT_TRUE(german);
  voice->SetVoice(german);
  Output("german.raw");
  voice->Speak(u"guten Tag", kSpeakAsync);
  EXPECT_TRUE(WaitFor(sink, "end 1"));
  EXPECT_EQ(sink.log, (Log{"start 1", "word 1 0 5", "word 1 6 3", "end 1"}));
}

TEST_F(EspeakVoiceServerTest, RejectsWhatItCannotDo) {
  class ForeignToken final : public VoiceToken {
    Text GetDescription(std::int32_t) const override { return u"foreign"; }
  };
  RecordingVoiceSink sink;
  auto voice = server.CreateVoice(sink);
  EXPECT_THROW(voice->SetVoice(std::make_shared<ForeignToken>()), PlatformError);
  EXPECT_THROW(voice->SetVoice(nullptr), PlatformError);
  EXPECT_THROW(voice->Speak(u"hello", 0), PlatformError);  // synchronous speech
  EXPECT_THROW(voice->Speak(u"hello", kSpeakAsync | 8), PlatformError);
  Output("empty.raw");
  EXPECT_EQ(voice->Speak(u"", kSpeakAsync), 1);
  EXPECT_TRUE(WaitFor(sink, "end 1"));
  EXPECT_EQ(sink.log, (Log{"start 1", "end 1"}));
}

TEST_F(EspeakVoiceServerTest, WithoutAnAudioDeviceSpeechPlaysSilentlyInRealTime) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  ::testing::internal::CaptureStderr();
  RecordingVoiceSink sink;
  for (int i = 0; i < 2; ++i) {
    sink.log.clear();
    auto voice = server.CreateVoice(sink);
    const auto spoken = std::chrono::steady_clock::now();
    voice->Speak(u"hello world", kSpeakAsync);
    ASSERT_TRUE(WaitFor(sink, "end 1"));
    // "hello world" lasts three quarters of a second, all of it between the call and the end
    // event: a slow machine only makes this longer, a driver that did not keep pace shorter.
    EXPECT_GT(std::chrono::steady_clock::now() - spoken, std::chrono::milliseconds(500));
    EXPECT_EQ(sink.log, (Log{"start 1", "word 1 0 5", "word 1 6 5", "end 1"}));
  }
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(log.find("no audio device"), log.rfind("no audio device"));  // said once
  EXPECT_NE(log.find("no audio device"), std::string::npos);
}

}  // namespace
}  // namespace parlino::platform::linux_impl

namespace parlino::platform::linux_impl {
namespace {

std::vector<Text> VoiceNames(SpeechVoice& voice) {
  std::vector<Text> names;
  const auto voices = voice.GetVoices(u"", u"");
  for (std::int32_t i = 0; i < voices->Count(); ++i) {
    names.push_back(voices->Item(i)->GetDescription(0));
  }
  return names;
}

TEST_F(EspeakVoiceServerTest, TheVoiceOfTheUsersLanguageComesFirst) {
  const char* variables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::optional<std::string>> saved;
  for (const char* name : variables) {
    const char* value = std::getenv(name);
    saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    unsetenv(name);
  }
  RecordingVoiceSink sink;
  auto voice = server.CreateVoice(sink);
  const std::vector<Text> unordered = VoiceNames(*voice);

  const std::pair<const char*, const char16_t*> cases[] = {
      {"de_DE.UTF-8", u"German"},
      {"en_US.UTF-8", u"English (America)"},
      {"en_GB.UTF-8", u"English (Great Britain)"},
      {"C", u"English (Great Britain)"},
  };
  for (const auto& [locale, first] : cases) {
    setenv("LANG", locale, 1);
    const std::vector<Text> names = VoiceNames(*voice);
    ASSERT_EQ(names.size(), unordered.size());
    EXPECT_EQ(names.front(), first) << locale;
    // The rest keep their order.
    std::vector<Text> rest = unordered;
    std::erase(rest, names.front());
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), names.begin() + 1)) << locale;
  }

  // No name has blanks around it, or the settings could not keep it ("Cherokee ").
  for (const Text& name : unordered) EXPECT_EQ(Trim(name), name) << ToUtf8(name);
  EXPECT_NE(std::find(unordered.begin(), unordered.end(), u"Cherokee"), unordered.end());

  for (std::size_t i = 0; i < std::size(variables); ++i) {
    if (saved[i]) {
      setenv(variables[i], saved[i]->c_str(), 1);
    } else {
      unsetenv(variables[i]);
    }
  }
}

}  // namespace
}  // namespace parlino::platform::linux_impl
