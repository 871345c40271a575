// The Flite voices as legacy engines, heard through SDL's disk driver: every engine instance
// writes what it plays (interleaved stereo) to the file named when it opens its output.
#include "platform/linux/flite_engine_server.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/flite_library.h"
#include "platform/linux/utf8_code_page.h"
#include "platform/platform_error.h"
#include "tests/fakes/cp1252_code_page.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/audio_samples.h"

namespace parlino::platform::linux_impl {
namespace {

using testing::Channel;
using testing::CountSound;
using testing::FakeMessagePump;
using testing::FindSound;
using testing::PeakLevel;
using testing::Samples;
using Log = std::vector<std::string>;
using namespace std::string_literals;

constexpr std::size_t kKal = 0;
constexpr std::size_t kKal16 = 1;
constexpr std::size_t kRms = 3;
constexpr std::size_t kSlt = 4;
constexpr int kRate16 = 16000;
// How far the disk output's size may trail what was already played when a notification is
// handled (the file's stdio buffer and a device buffer), or run ahead of it (the test thread
// reaching the notification late).
constexpr std::size_t kTrailing = 1024 + 256;
constexpr std::size_t kAhead = 2048;
const std::string kLongText =
    "Reading aloud takes a while. This sentence goes on and on so that there is time to pause, "
    "to listen to the silence and to carry on again afterwards.";

// Both sinks write into one log: "text started", "audio start", "text done", "audio stop". With
// `played`, the output's size in frames is noted at each audio notification.
class LogSinks final : public LegacyNotifySink, public LegacyBufferNotifySink {
 public:
  explicit LogSinks(std::function<std::size_t()> played = {}) : played_(std::move(played)) {}

  void AttribChanged(std::uint32_t) override { log.push_back("attribute"); }
  void AudioStart(std::uint64_t) override { Audio("audio start"); }
  void AudioStop(std::uint64_t) override { Audio("audio stop"); }
  void Visual(std::uint64_t, char, char, std::uint32_t, const LegacyMouth&) override {
    log.push_back("visual");
  }
  void TextDataDone(std::uint64_t, std::uint32_t) override { log.push_back("text done"); }
  void TextDataStarted(std::uint64_t) override { log.push_back("text started"); }
  void BookMark(std::uint64_t, std::uint32_t) override { log.push_back("bookmark"); }
  void WordPosition(std::uint64_t, std::uint32_t) override { log.push_back("word"); }

  bool Received(const std::string& event) const {
    return std::find(log.begin(), log.end(), event) != log.end();
  }

  Log log;
  std::vector<std::size_t> playedAt;  // at each audio notification

 private:
  void Audio(const std::string& event) {
    log.push_back(event);
    if (played_) playedAt.push_back(played_());
  }
  std::function<std::size_t()> played_;
};

class FliteEngineServerTest : public ::testing::Test {
 protected:
  // The output takes samples as fast as they are made, unless a test needs the pace of
  // playback.
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
  }
  static void AtThePaceOfPlayback() { unsetenv("SDL_DISKAUDIODELAY"); }

  // The next engine instance that speaks writes its audio to the file `name`.
  std::filesystem::path Output(const std::string& name) {
    const std::filesystem::path file = dir / name;
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    return file;
  }

  static std::size_t PlayedFrames(const std::filesystem::path& file) {
    struct stat status {};
    return stat(file.c_str(), &status) == 0 ? static_cast<std::size_t>(status.st_size) / 4 : 0;
  }

  LegacyEngineMode Mode(std::size_t index) {
    auto modes = server.CreateEnumerator();
    modes->Skip(static_cast<std::uint32_t>(index));
    return *modes->Next();
  }

  // A fresh instance of the voice at `index`, with `sinks` registered.
  std::unique_ptr<LegacyEngine> Select(std::size_t index, const std::shared_ptr<LogSinks>& sinks) {
    auto engine = server.CreateEnumerator()->Select(Mode(index).modeId, server.CreateAudioDevice());
    engine->Register(sinks);
    return engine;
  }

  bool WaitFor(const LogSinks& sinks, const std::string& event) {
    return pump.RunUntil([&] { return sinks.Received(event); }, std::chrono::seconds(30));
  }

  // Speaks `text` on a fresh instance of the voice at `index`, after `setup`, to the end of its
  // audio; returns the output, both channels.
  Samples SpeakToEnd(const std::string& name, std::size_t index, const std::string& text,
                     const std::function<void(LegacyEngine&)>& setup = {},
                     std::shared_ptr<LogSinks> sinks = std::make_shared<LogSinks>()) {
    const auto file = Output(name);
    {
      auto engine = Select(index, sinks);
      if (setup) setup(*engine);
      engine->TextData(text + '\0', sinks);
      EXPECT_TRUE(WaitFor(*sinks, "audio stop")) << text;
    }
    return testing::ReadRawSamples(file);
  }

  static double SoundLength(const Samples& samples) { return double(FindSound(samples).length()); }
  // The output runs ahead of the synthesis and pads what is not there yet with silence, so the
  // amount of speech heard is counted by its sounding samples.
  static double Heard(const Samples& samples) { return double(CountSound(samples)); }

  testing::TempDir dir;
  FakeMessagePump pump;
  Utf8CodePage codePage;
  FliteEngineServer server{pump, codePage};
  const std::vector<FliteVoice>& voices = FliteLibrary::Instance().voices();
};

TEST_F(FliteEngineServerTest, ListsTheBuiltInVoicesAsEngineModes) {
  struct Expected {
    std::string modeName;
    std::string speaker;
    std::uint16_t gender;
    bool pitch;  // the pitch can be changed
  };
  const std::vector<Expected> expected = {
      {"Flite kal: American English, male, 8 kHz", "Flite kal", 2, true},
      {"Flite kal16: American English, male, 16 kHz", "Flite kal16", 2, true},
      {"Flite awb: Scottish English, male, 16 kHz", "Flite awb", 2, true},
      {"Flite rms: American English, male, 16 kHz", "Flite rms", 2, false},
      {"Flite slt: American English, female, 16 kHz", "Flite slt", 1, true},
  };
  auto modes = server.CreateEnumerator();
  std::vector<Guid> ids;
  for (const Expected& voice : expected) {
    const std::optional<LegacyEngineMode> mode = modes->Next();
    ASSERT_TRUE(mode) << voice.modeName;
    EXPECT_EQ(mode->modeName, voice.modeName);
    EXPECT_EQ(mode->speaker, voice.speaker);
    EXPECT_EQ(mode->gender, voice.gender);
    EXPECT_EQ(mode->productName, "Flite 2.2");
    EXPECT_EQ((mode->features & 8u) != 0, voice.pitch) << voice.modeName;
    EXPECT_EQ(mode->engineId, Mode(0).engineId);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), mode->modeId), 0);
    ids.push_back(mode->modeId);
  }
  EXPECT_FALSE(modes->Next());
  modes->Reset();
  modes->Skip(4);
  EXPECT_EQ(modes->Next()->speaker, "Flite slt");

  class OtherOutput final : public LegacyAudioDevice {};
  EXPECT_THROW(modes->Select(ids[0], std::make_shared<OtherOutput>()), PlatformError);
  EXPECT_THROW(modes->Select(ids[0], nullptr), PlatformError);
  EXPECT_THROW(modes->Select(Guid{}, server.CreateAudioDevice()), PlatformError);
  EXPECT_THROW(server.CreateAudioFile(), PlatformError);
}

TEST_F(FliteEngineServerTest, EveryVoiceSaysHelloWorldAsFliteItselfDoes) {
  for (std::size_t index = 0; index < voices.size(); ++index) {
    const std::string& name = voices[index].name;
    auto sinks = std::make_shared<LogSinks>();
    const Samples played = SpeakToEnd("hello-" + name + ".raw", index, "hello world", {}, sinks);
    const Samples left = Channel(played, 0);
    EXPECT_EQ(Channel(played, 1), left) << name;
    const Samples reference = testing::FliteRendering(dir.path(), "hello world", name);
    EXPECT_GT(SoundLength(reference), 0.6 * voices[index].sampleRate) << name;
    EXPECT_NEAR(Heard(left), Heard(reference), 0.05 * Heard(reference)) << name;
    EXPECT_GT(PeakLevel(left), 5000) << name;
    EXPECT_EQ(sinks->log, (Log{"text started", "audio start", "text done", "audio stop"})) << name;
  }
}

TEST_F(FliteEngineServerTest, SpeedIsInWordsPerMinuteWithinTheVoicesLimits) {
  const FliteVoice& voice = voices[kKal16];
  const std::string text =
      "The quick brown fox jumps over the lazy dog, and then it rests. The quick brown fox "
      "jumps over the lazy dog, and then it rests.";  // 26 words
  const auto at = [&](std::uint32_t speed, std::uint32_t* set = nullptr) {
    return Channel(SpeakToEnd("speed-" + std::to_string(speed) + ".raw", kKal16, text,
                              [&](LegacyEngine& engine) {
                                engine.SpeedSet(speed);
                                if (set != nullptr) *set = engine.SpeedGet();
                              }),
                   0);
  };
  std::uint32_t slowest = 0;
  std::uint32_t fastest = 0;
  const double normal = Heard(at(voice.normalSpeed));
  const double slow = Heard(at(0, &slowest));
  const double fast = Heard(at(std::numeric_limits<std::uint32_t>::max(), &fastest));
  EXPECT_EQ(slowest, voice.minSpeed);
  EXPECT_EQ(fastest, voice.maxSpeed);
  EXPECT_LT(voice.minSpeed, voice.normalSpeed / 2);
  EXPECT_GT(voice.maxSpeed, voice.normalSpeed * 2);
  EXPECT_NEAR(slow, normal * voice.normalSpeed / slowest, 0.1 * slow);
  EXPECT_NEAR(fast, normal * voice.normalSpeed / fastest, 0.1 * fast);

  // 150 words per minute: as Flite's own rendering at that speed, in which the 26 words take
  // about ten seconds.
  const double stretch = 1.1 * voice.normalSpeed / 150;  // kal16 speaks at 1.1 on its own
  const Samples reference = testing::FliteRendering(dir.path(), text, "kal16", stretch);
  EXPECT_NEAR(SoundLength(reference), 26.0 / 150 * 60 * kRate16, 0.15 * SoundLength(reference));
  EXPECT_NEAR(Heard(at(150)), Heard(reference), 0.03 * Heard(reference));
}

TEST_F(FliteEngineServerTest, PitchIsInHertzWithinTheVoicesLimits) {
  for (const std::size_t index : {kKal16, kSlt}) {
    const FliteVoice& voice = voices[index];
    const auto medianAt = [&](std::uint16_t pitch) {
      std::uint16_t set = 0;
      const Samples played =
          SpeakToEnd("pitch.raw", index, "hello world, how are you", [&](LegacyEngine& engine) {
            engine.PitchSet(pitch);
            set = engine.PitchGet();
          });
      EXPECT_EQ(set, pitch) << voice.name;
      return testing::MedianPitch(Channel(played, 0), voice.sampleRate);
    };
    // The voice's intonation rises above its mean: the median of the voiced frames lies a
    // little above the target.
    const std::uint16_t low = static_cast<std::uint16_t>(voice.normalPitch * 3 / 4);
    const std::uint16_t high = static_cast<std::uint16_t>(voice.normalPitch * 3 / 2);
    const double lowMedian = medianAt(low);
    const double highMedian = medianAt(high);
    EXPECT_NEAR(lowMedian, low, 0.25 * low) << voice.name;
    EXPECT_NEAR(highMedian, high, 0.25 * high) << voice.name;
    EXPECT_GT(highMedian, 1.6 * lowMedian) << voice.name;

    auto engine = Select(index, std::make_shared<LogSinks>());
    EXPECT_EQ(engine->PitchGet(), voice.normalPitch);
    engine->PitchSet(0);
    EXPECT_EQ(engine->PitchGet(), voice.minPitch);
    engine->PitchSet(65535);
    EXPECT_EQ(engine->PitchGet(), voice.maxPitch);
    EXPECT_LT(voice.minPitch, low);
    EXPECT_GT(voice.maxPitch, high);
  }
  // rms predicts its own intonation: its one pitch is its own.
  auto rms = Select(kRms, std::make_shared<LogSinks>());
  rms->PitchSet(250);
  EXPECT_EQ(rms->PitchGet(), voices[kRms].normalPitch);
  EXPECT_EQ(voices[kRms].minPitch, voices[kRms].maxPitch);
}

TEST_F(FliteEngineServerTest, VolumeSetsEachChannelOnItsOwn) {
  std::uint32_t readBack = 0;
  const Samples full = SpeakToEnd("full.raw", kKal16, "hello world");
  const Samples half = SpeakToEnd("half.raw", kKal16, "hello world", [&](LegacyEngine& engine) {
    engine.VolumeSet(0x7FFF7FFF);
    readBack = engine.VolumeGet();
  });
  const Samples leftOnly = SpeakToEnd("left.raw", kKal16, "hello world",
                                      [](LegacyEngine& engine) { engine.VolumeSet(0x0000FFFF); });
  EXPECT_EQ(readBack, 0x7FFF7FFFu);
  const int peak = PeakLevel(Channel(full, 0));
  EXPECT_NEAR(PeakLevel(Channel(half, 0)), peak / 2, 1);
  EXPECT_NEAR(PeakLevel(Channel(half, 1)), peak / 2, 1);
  EXPECT_EQ(PeakLevel(Channel(leftOnly, 0)), peak);
  EXPECT_EQ(PeakLevel(Channel(leftOnly, 1)), 0);
}

// The samples that are not exactly zero: what the voice said, without the silence that the
// output plays when it has nothing to play or is paused.
Samples Said(const Samples& samples) {
  Samples said;
  std::copy_if(samples.begin(), samples.end(), std::back_inserter(said),
               [](std::int16_t s) { return s != 0; });
  return said;
}

// The longest run of exact zeros between the first and the last sample that is not zero.
std::size_t LongestInnerSilence(const Samples& samples) {
  std::size_t longest = 0;
  std::size_t run = 0;
  bool said = false;
  for (const std::int16_t s : samples) {
    if (s != 0) {
      if (said) longest = std::max(longest, run);
      said = true;
      run = 0;
    } else {
      ++run;
    }
  }
  return longest;
}

TEST_F(FliteEngineServerTest, PauseAndResumeLoseAndRepeatNoSample) {
  // kal16 is deterministic: the same text gives the same samples every time.
  const Samples reference = Said(Channel(SpeakToEnd("reference.raw", kKal16, kLongText), 0));
  AtThePaceOfPlayback();
  const auto file = Output("paused.raw");
  auto sinks = std::make_shared<LogSinks>();
  {
    auto engine = Select(kKal16, sinks);
    engine->TextData(kLongText + '\0', nullptr);
    ASSERT_TRUE(WaitFor(*sinks, "audio start"));
    ASSERT_TRUE(pump.RunUntil([&] { return PlayedFrames(file) > kRate16; }));
    engine->AudioPause();
    // A second of output while paused.
    const std::size_t pausedAt = PlayedFrames(file);
    ASSERT_TRUE(pump.RunUntil([&] { return PlayedFrames(file) > pausedAt + kRate16; }));
    engine->AudioResume();
    ASSERT_TRUE(WaitFor(*sinks, "audio stop"));
  }
  // The pause is no end: the one stop comes after the resume, at the end of the text.
  EXPECT_EQ(sinks->log, (Log{"audio start", "audio stop"}));
  const Samples played = Channel(testing::ReadRawSamples(file), 0);
  EXPECT_GT(LongestInnerSilence(played), static_cast<std::size_t>(kRate16 / 2));
  // Every sample of the text is heard once, in order.
  EXPECT_TRUE(Said(played) == reference);
}

TEST_F(FliteEngineServerTest, ResetSilencesAtOnceAndTheEngineSpeaksOnAfterwards) {
  AtThePaceOfPlayback();
  const auto file = Output("reset.raw");
  auto sinks = std::make_shared<LogSinks>();
  std::size_t resetAt = 0;
  {
    auto engine = Select(kKal16, sinks);
    engine->TextData(kLongText + '\0', sinks);
    engine->TextData("and a second text" + std::string(1, '\0'), sinks);
    ASSERT_TRUE(pump.RunUntil([&] { return PlayedFrames(file) > kRate16; }));
    engine->AudioPause();  // a reset also ends the pause
    engine->AudioReset();
    resetAt = PlayedFrames(file);
    ASSERT_TRUE(WaitFor(*sinks, "audio stop"));
    EXPECT_EQ(sinks->log, (Log{"text started", "audio start", "audio stop"}));
    sinks->log.clear();
    engine->TextData("hello world" + std::string(1, '\0'), sinks);
    ASSERT_TRUE(WaitFor(*sinks, "audio stop"));
    EXPECT_EQ(sinks->log, (Log{"text started", "audio start", "text done", "audio stop"}));
  }
  const Samples played = Channel(testing::ReadRawSamples(file), 0);
  const Samples hello = Channel(SpeakToEnd("hello.raw", kKal16, "hello world"), 0);
  // After the reset only "hello world" is heard.
  const Samples after(played.begin() + static_cast<std::ptrdiff_t>(resetAt + kTrailing),
                      played.end());
  EXPECT_EQ(CountSound(after), CountSound(hello));
  EXPECT_LT(played.size(), 4 * kRate16);  // the long text takes nine seconds
}

TEST_F(FliteEngineServerTest, AudioNotificationsComeWithTheFirstAndAfterTheLastSample) {
  AtThePaceOfPlayback();
  const auto file = Output("timed.raw");
  auto sinks = std::make_shared<LogSinks>([&] { return PlayedFrames(file); });
  {
    auto engine = Select(kKal16, sinks);
    // Queued while paused, the text starts to be heard only when the output resumes.
    engine->AudioPause();
    engine->TextData("hello world"s + '\0', nullptr);
    ASSERT_TRUE(pump.RunUntil([&] { return PlayedFrames(file) > kRate16 / 2; }));
    engine->AudioResume();
    ASSERT_TRUE(WaitFor(*sinks, "audio stop"));
  }
  ASSERT_EQ(sinks->log, (Log{"audio start", "audio stop"}));
  const Samples played = Channel(testing::ReadRawSamples(file), 0);
  // Flite's text begins and ends with samples that are not quite zero; silence is exactly zero.
  const auto says = [](std::int16_t s) { return s != 0; };
  const auto first =
      static_cast<std::size_t>(std::find_if(played.begin(), played.end(), says) - played.begin());
  const auto last =
      static_cast<std::size_t>(played.rend() - std::find_if(played.rbegin(), played.rend(), says));
  EXPECT_GT(first, static_cast<std::size_t>(kRate16 / 2));
  EXPECT_GT(last - first, static_cast<std::size_t>(kRate16 / 2));
  EXPECT_GE(sinks->playedAt[0] + kTrailing, first);
  EXPECT_LE(sinks->playedAt[0], first + kAhead);
  EXPECT_GE(sinks->playedAt[1] + kTrailing, last);
  EXPECT_LE(sinks->playedAt[1], last + kAhead);
}

TEST_F(FliteEngineServerTest, TextInTheAnsiCodePageIsSpokenInItsPlainEnglishForm) {
  const Samples plain = SpeakToEnd("plain.raw", kKal, "cafe naive \"quoted\" - ok");
  // UTF-8, the code page here: accents, typographic quotes and dashes, a snowman that Flite
  // cannot say, and what follows the first 0 byte.
  const Samples utf8 = SpeakToEnd(
      "utf8.raw", kKal,
      "caf\xC3\xA9 na\xC3\xAFve \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x80\x93 ok \xE2\x98\x83" +
          std::string(1, '\0') + "not this");
  EXPECT_TRUE(Said(utf8) == Said(plain));

  // The same in an 8-bit page.
  testing::Cp1252CodePage cp1252;
  FliteEngineServer cp1252Server(pump, cp1252);
  const auto file = Output("cp1252.raw");
  auto sinks = std::make_shared<LogSinks>();
  {
    auto modes = cp1252Server.CreateEnumerator();
    auto engine = modes->Select(modes->Next()->modeId, cp1252Server.CreateAudioDevice());
    engine->Register(sinks);
    engine->TextData("caf\xE9 na\xEFve \x93quoted\x94 \x96 ok\0"s, nullptr);
    ASSERT_TRUE(WaitFor(*sinks, "audio stop"));
  }
  EXPECT_TRUE(Said(testing::ReadRawSamples(file)) == Said(plain));
}

TEST_F(FliteEngineServerTest, AttributeTagsSetTheAttributeForTheTextAfterThem) {
  auto engine = Select(kSlt, std::make_shared<LogSinks>());
  const FliteVoice& slt = voices[kSlt];
  engine->Inject("\\Spd=300\\");
  EXPECT_EQ(engine->SpeedGet(), 300u);
  engine->Inject("\\spd=1\\");
  EXPECT_EQ(engine->SpeedGet(), slt.minSpeed);
  engine->Inject("\\Pit=200\\");
  EXPECT_EQ(engine->PitchGet(), 200u);
  engine->Inject("\\Vol=2147450879\\");
  EXPECT_EQ(engine->VolumeGet(), 2147450879u);
  for (const std::string tag : {"\\Spd=\\", "\\Spd=-5\\", "\\Spd=5", "Spd=5\\", "\\Rst\\",
                                "\\Emp=1\\", "\\Vol=1x\\", "\\Vol=99999999999\\"}) {
    EXPECT_THROW(engine->Inject(tag), PlatformError) << tag;
  }
  EXPECT_EQ(engine->RealTimeGet(), 100u);
  engine->RealTimeSet(0);
  EXPECT_EQ(engine->RealTimeGet(), 100u);
  EXPECT_THROW(engine->UnRegister(99), PlatformError);
  EXPECT_THROW(engine->Register(nullptr), PlatformError);
}

TEST_F(FliteEngineServerTest, AReleasedEngineIsSilentAndNotifiesNoMore) {
  AtThePaceOfPlayback();
  const auto file = Output("released.raw");
  auto sinks = std::make_shared<LogSinks>();
  auto engine = Select(kSlt, sinks);
  engine->TextData(kLongText + '\0', sinks);
  ASSERT_TRUE(WaitFor(*sinks, "audio start"));
  engine.reset();
  // A later event that does arrive: the next instance's own notifications.
  const Samples hello = SpeakToEnd("after.raw", kSlt, "hello", {}, std::make_shared<LogSinks>());
  EXPECT_GT(CountSound(Channel(hello, 0)), 0u);
  EXPECT_EQ(sinks->log, (Log{"text started", "audio start"}));
  EXPECT_LT(testing::ReadRawSamples(file).size(), 2u * 3 * kRate16);
}

TEST_F(FliteEngineServerTest, ASinkMayReleaseTheEngineThatNotifiesIt) {
  class ReleasingSink final : public LegacyNotifySink {
   public:
    void AttribChanged(std::uint32_t) override {}
    void AudioStart(std::uint64_t) override { engine.reset(); }
    void AudioStop(std::uint64_t) override { ++stops; }
    void Visual(std::uint64_t, char, char, std::uint32_t, const LegacyMouth&) override {}
    std::unique_ptr<LegacyEngine> engine;
    int stops = 0;
  };
  Output("released-by-sink.raw");
  auto releasing = std::make_shared<ReleasingSink>();
  auto second = std::make_shared<LogSinks>();
  releasing->engine = Select(kKal, second);
  releasing->engine->Register(releasing);
  releasing->engine->TextData("one two three" + std::string(1, '\0'), nullptr);
  ASSERT_TRUE(pump.RunUntil([&] { return releasing->engine == nullptr; }));
  const Samples hello = SpeakToEnd("after-sink.raw", kKal, "hello");
  EXPECT_GT(CountSound(Channel(hello, 0)), 0u);
  EXPECT_EQ(releasing->stops, 0);
  // The first sink heard the start; the engine was gone before it could hear more.
  EXPECT_EQ(second->log, (Log{"audio start"}));
}

}  // namespace
}  // namespace parlino::platform::linux_impl
