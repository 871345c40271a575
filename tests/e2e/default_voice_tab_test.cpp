// The "Default voice" tab with the real voices: the list shows espeak-ng's voices, the Test button
// is heard, and the sliders change the speed, the pitch and the volume that are heard.
#include <gtest/gtest.h>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include <cstdlib>

#include "app/entry/linux_services.h"
#include "app/ui/frm_main.h"
#include "platform/linux/espeak_library.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/audio_samples.h"
#include "tests/platform/x11_test_support.h"

namespace parlino {
namespace {

class DefaultVoiceTab : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Everything the voice plays goes to one file, as fast as it is made.
    setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (dir_.path() / "heard.raw").c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
  }

  DefaultVoiceTab() {
    form_.FormCreate();
    form_.SpeechAPI5.OnEndStream = [this](speech::TSpVoice&, std::int32_t) { ended_ = true; };
  }

  // What the Test button makes heard: the samples the voice writes until its stream ends.
  testing::Samples Test() {
    const std::size_t before = testing::ReadRawSamples(Heard()).size();
    ended_ = false;
    form_.btnTestVoice->click();
    EXPECT_TRUE(testing::WaitFor([this] { return ended_; }, std::chrono::seconds(20)))
        << "the test phrase did not end";
    const testing::Samples all = testing::ReadRawSamples(Heard());
    return testing::Samples(all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())),
                            all.end());
  }

  static int SampleRate() { return platform::linux_impl::EspeakLibrary::Instance().sample_rate(); }
  static std::filesystem::path Heard() { return dir_.path() / "heard.raw"; }

  static inline testing::TempDir dir_;  // shared by the tests, removed at exit
  app::LinuxServices services_;
  app::AppContext context_ = services_.Context({dir_.path(), dir_.path()}, {"parlino"});
  app::TfrmMain form_{context_};
  bool ended_ = false;
};

TEST_F(DefaultVoiceTab, ListsTheInstalledVoices) {
  ASSERT_GT(form_.VoicesList->count(), 10);
  for (int row = 0; row < form_.VoicesList->count(); ++row) {
    EXPECT_TRUE(form_.VoicesList->item(row)->text().endsWith(" (SAPI5)"));
  }
  EXPECT_EQ(form_.VoicesList->currentRow(), 0);
}

TEST_F(DefaultVoiceTab, SlidersChangeWhatIsHeard) {
  const testing::Samples normal = Test();
  ASSERT_GT(testing::CountSound(normal), 0u) << "the test phrase was not heard";

  form_.Speed_Bar->setValue(10);
  const testing::Samples fast = Test();
  EXPECT_LT(testing::FindSound(fast).length(), testing::FindSound(normal).length() * 7 / 10);
  form_.Speed_Bar->setValue(-3);

  form_.Volume_Bar->setValue(20);
  const testing::Samples quiet = Test();
  EXPECT_LT(testing::PeakLevel(quiet), testing::PeakLevel(normal) * 4 / 10);
  form_.Volume_Bar->setValue(100);

  form_.Pitch_Bar->setValue(-10);
  const double low = testing::MedianPitch(Test(), SampleRate());
  form_.Pitch_Bar->setValue(10);
  const double high = testing::MedianPitch(Test(), SampleRate());
  EXPECT_GT(high, low * 1.3);
}

}  // namespace
}  // namespace parlino
