// The "Default voice" tab with the real voices: the list shows Flite's voices and then
// espeak-ng's, the Test button is heard, and the sliders change the speed, the pitch and the
// volume that are heard.
#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/entry/linux_services.h"
#include "app/ui/frm_main.h"
#include "app/ui/pages/default_voice_page.h"
#include "platform/linux/espeak_library.h"
#include "platform/linux/flite_library.h"
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
    form.FormCreate();
    form.SpeechAPI5.OnEndStream = [this](speech::TSpVoice&, std::int32_t) { ended = true; };
  }

  // What the Test button makes heard: the samples the voice writes until its stream ends.
  testing::Samples Test() {
    const std::size_t before = testing::ReadRawSamples(Heard()).size();
    ended = false;
    btnTestVoice->click();
    EXPECT_TRUE(testing::WaitFor([this] { return ended; }, std::chrono::seconds(20)))
        << "the test phrase did not end";
    const testing::Samples all = testing::ReadRawSamples(Heard());
    return testing::Samples(all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())),
                            all.end());
  }

  static int SampleRate() { return platform::linux_impl::EspeakLibrary::Instance().SampleRate(); }
  static std::filesystem::path Heard() { return dir_.path() / "heard.raw"; }

  static inline testing::TempDir dir_;  // shared by the tests, removed at exit
  app::LinuxServices services;
  app::AppContext context = services.Context({dir_.path(), dir_.path()}, {"parlino"});
  app::TfrmMain form{context};
  QListWidget* VoicesList_ = form.findChild<QListWidget*>("VoicesList");
  QPushButton* btnTestVoice = form.findChild<QPushButton*>("btnTestVoice");
  QSlider* Speed_Bar_ = form.findChild<QSlider*>("Speed_Bar");
  QSlider* Pitch_Bar_ = form.findChild<QSlider*>("Pitch_Bar");
  QSlider* Volume_Bar_ = form.findChild<QSlider*>("Volume_Bar");
  bool ended = false;
};

QLineEdit* Readout(app::TfrmMain& form, const char* name) {
  return form.findChild<QLineEdit*>(name);
}

TEST_F(DefaultVoiceTab, ListsTheFliteVoicesFirstThenTheModernOnes) {
  const QStringList flite = {"Flite kal", "Flite kal16", "Flite awb", "Flite rms", "Flite slt"};
  ASSERT_GT(VoicesList_->count(), 15);
  EXPECT_EQ(form.DefaultVoice().Sapi4EngineCount(), 5);
  for (int row = 0; row < VoicesList_->count(); ++row) {
    const QString name = VoicesList_->item(row)->text();
    if (row < flite.size()) {
      EXPECT_EQ(name, flite[row]);
    } else {
      EXPECT_TRUE(name.endsWith(" (SAPI5)")) << name.toStdString();
    }
  }
  // The first modern voice is the default of a new account.
  EXPECT_EQ(VoicesList_->currentRow(), 5);
}

TEST_F(DefaultVoiceTab, SlidersChangeWhatIsHeard) {
  const testing::Samples normal = Test();
  ASSERT_GT(testing::CountSound(normal), 0u) << "the test phrase was not heard";

  Speed_Bar_->setValue(10);
  const testing::Samples fast = Test();
  EXPECT_LT(testing::FindSound(fast).length(), testing::FindSound(normal).length() * 7 / 10);
  Speed_Bar_->setValue(-3);

  Volume_Bar_->setValue(20);
  const testing::Samples quiet = Test();
  EXPECT_LT(testing::PeakLevel(quiet), testing::PeakLevel(normal) * 4 / 10);
  Volume_Bar_->setValue(100);

  Pitch_Bar_->setValue(-10);
  const double low = testing::MedianPitch(Test(), SampleRate());
  Pitch_Bar_->setValue(10);
  const double high = testing::MedianPitch(Test(), SampleRate());
  EXPECT_GT(high, low * 1.3);
}

// Flite's voices on the tab: their own units on the sliders, heard through the Test button, and
// kept with their values over a restart.
TEST_F(DefaultVoiceTab, AFliteVoiceSpeaksWithItsOwnValuesAndKeepsThemOverARestart) {
  const platform::linux_impl::FliteVoice& slt =
      platform::linux_impl::FliteLibrary::Instance().voices().at(4);
  const std::filesystem::path legacy = dir_.path() / "legacy.raw";
  bool stopped = false;
  const auto previous = form.SpeechAPI4.OnStop;
  form.SpeechAPI4.OnStop = [&](speech::TMSpeech& sender) {
    previous(sender);
    stopped = true;
  };
  // What the Test button makes heard; every test selects a fresh engine, which opens its own
  // output.
  const auto test = [&] {
    setenv("SDL_DISKAUDIOFILE", legacy.c_str(), 1);
    stopped = false;
    btnTestVoice->click();
    EXPECT_TRUE(testing::WaitFor([&] { return stopped; }, std::chrono::seconds(20)))
        << "the test phrase did not end";
    return testing::Channel(testing::ReadRawSamples(legacy), 0);
  };

  VoicesList_->setCurrentRow(4);
  form.DefaultVoice().VoicesListClick();
  EXPECT_EQ(Speed_Bar_->minimum(), static_cast<int>(slt.minSpeed));
  EXPECT_EQ(Speed_Bar_->maximum(), static_cast<int>(slt.maxSpeed));
  EXPECT_EQ(Pitch_Bar_->minimum(), slt.minPitch);
  EXPECT_EQ(Pitch_Bar_->maximum(), slt.maxPitch);
  EXPECT_EQ(Readout(form, "Edit1")->text().toUInt(), slt.normalSpeed);
  EXPECT_EQ(Readout(form, "Edit2")->text().toUInt(), slt.normalPitch);
  EXPECT_EQ(Readout(form, "Edit3")->text(), "100");

  const testing::Samples normal = test();
  ASSERT_GT(testing::CountSound(normal), 0u) << "the test phrase was not heard";
  Speed_Bar_->setValue(Speed_Bar_->maximum());
  EXPECT_LT(testing::CountSound(test()), testing::CountSound(normal) * 6 / 10);
  Speed_Bar_->setValue(static_cast<int>(slt.normalSpeed));
  Volume_Bar_->setValue(50);
  EXPECT_NEAR(testing::PeakLevel(test()), testing::PeakLevel(normal) / 2,
              testing::PeakLevel(normal) / 10);
  Pitch_Bar_->setValue(120);
  const double low = testing::MedianPitch(test(), slt.sampleRate);
  Pitch_Bar_->setValue(250);
  const double high = testing::MedianPitch(test(), slt.sampleRate);
  EXPECT_GT(high, low * 1.5);

  Speed_Bar_->setValue(300);
  Pitch_Bar_->setValue(200);
  Volume_Bar_->setValue(80);
  form.SaveCfg();
  {
    app::TfrmMain restarted(context);
    restarted.FormCreate();
    EXPECT_EQ(restarted.findChild<QListWidget*>("VoicesList")->currentRow(), 4);
    EXPECT_EQ(restarted.findChild<QSlider*>("Speed_Bar")->maximum(),
              static_cast<int>(slt.maxSpeed));
    EXPECT_EQ(restarted.findChild<QSlider*>("Pitch_Bar")->maximum(), slt.maxPitch);
    EXPECT_EQ(restarted.findChild<QSlider*>("Speed_Bar")->value(), 300);
    EXPECT_EQ(restarted.findChild<QSlider*>("Pitch_Bar")->value(), 200);
    EXPECT_EQ(restarted.findChild<QSlider*>("Volume_Bar")->value(), 80);
    EXPECT_EQ(Readout(restarted, "Edit1")->text(), "300");
    EXPECT_EQ(Readout(restarted, "Edit2")->text(), "200");
  }
  // The other tests start from a new account and hear the modern voice in their own file.
  std::filesystem::remove(dir_.path() / "cfg.ini");
  setenv("SDL_DISKAUDIOFILE", Heard().c_str(), 1);
}

}  // namespace
}  // namespace parlino

namespace parlino {
namespace {

// A first start reads with the voice of the user's language, as the first entry of the list.
TEST(FirstStartVoice, FollowsTheLocale) {
  const std::pair<const char*, const char*> cases[] = {
      {"de_DE.UTF-8", "German (SAPI5)"},
      {"C", "English (Great Britain) (SAPI5)"},
  };
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(variable);
  const char* saved = std::getenv("LANG");
  const std::string savedLang = saved != nullptr ? saved : "";
  for (const auto& [locale, voice] : cases) {
    setenv("LANG", locale, 1);
    testing::TempDir account;
    setenv("XDG_CONFIG_HOME", account.path().c_str(), 1);  // the autostart entry goes there
    app::LinuxServices services;
    app::AppContext context = services.Context({account.path(), account.path()}, {"parlino"});
    app::TfrmMain form(context);
    form.FormCreate();
    const auto* list = form.findChild<QListWidget*>("VoicesList");
    ASSERT_NE(list->currentItem(), nullptr) << locale;
    EXPECT_EQ(list->currentItem()->text().toStdString(), voice) << locale;
    form.SaveCfg();
    EXPECT_NE(testing::ReadBytes(account / "cfg.ini")
                  .find("Voice=" + std::string(voice).substr(0, std::strlen(voice) - 8) + "\r\n"),
              std::string::npos)
        << locale;
  }
  if (saved != nullptr) {
    setenv("LANG", savedLang.c_str(), 1);
  } else {
    unsetenv("LANG");
  }
}

}  // namespace
}  // namespace parlino
