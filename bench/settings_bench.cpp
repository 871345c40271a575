// Loading and saving the settings when cfg.ini has grown large: a 10 MB file, most of it
// sections of other programs or of older versions, behind the program's own three sections.
// LoadCfg fills the options window from it; SaveCfg writes the window back (one setting changed
// each time, so every save really writes) and tidies the file. The goal is under 100 ms each.
// Run it as
//   build/bench/bench_settings
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <cstdlib>
#include <string>

#include "tests/app/app_fixture.h"

namespace {

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

// The program's sections as a save leaves them, then foreign sections up to `size` bytes.
std::string LargeCfg(std::size_t size) {
  std::string file =
      "[General]\r\nFirstRun=0\r\nHotKey=16392\r\nOptHotKey=16506\r\nStopHotKey=16507\r\n"
      "MinimizeToTray=1\r\nReadByMouse=1\r\nWelcomeDlg=1\r\n\r\r\n"
      "[Pronunciation]\r\nIgnoreCharacters=0\r\nIgnoredCharacters=*\\/\"`_~:'\r\n"
      "WordsCorrections=0\r\n\r\r\n"
      "[Speech]\r\nVoice=Anna\r\nSpeed=180\r\nPitch=150\r\nVolume=100\r\nSAPIVersion=5\r\n";
  for (int section = 0; file.size() < size; ++section) {
    file += "\r\r\n[Foreign_" + std::to_string(section) + "]\r\n";
    for (int key = 0; key < 12; ++key) {
      file += "Key" + std::to_string(key) + "=a value that another program keeps here " +
              std::to_string(section * 12 + key) + "\r\n";
    }
  }
  return file;
}

class LargeSettings {
 public:
  LargeSettings() {
    parlino::testing::WriteBytes(app.Cfg(), LargeCfg(kFileSize));
    app.Catalogue();
    app.Form().LoadCfg();
  }
  parlino::testing::AppFixture app;
};

void BM_LoadCfg(benchmark::State& state) {
  LargeSettings settings;
  for (auto _ : state) settings.app.Form().LoadCfg();
  state.counters["file_MB"] =
      static_cast<double>(std::filesystem::file_size(settings.app.Cfg())) / (1024.0 * 1024.0);
}
BENCHMARK(BM_LoadCfg)->Unit(benchmark::kMillisecond);

void BM_SaveCfg(benchmark::State& state) {
  LargeSettings settings;
  auto& form = settings.app.Form();
  auto* readByMouse = parlino::testing::Control<QCheckBox>(form, "ReadByMouse");
  for (auto _ : state) {
    readByMouse->setChecked(!readByMouse->isChecked());
    form.SaveCfg();
  }
  state.counters["file_MB"] =
      static_cast<double>(std::filesystem::file_size(settings.app.Cfg())) / (1024.0 * 1024.0);
}
BENCHMARK(BM_SaveCfg)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
