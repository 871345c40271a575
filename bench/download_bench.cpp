// Downloading a 50 MB installer over the loopback address: the "Additional voices" window's
// whole path (Qt Network, blocks of 2048 bytes, the temporary file, the progress bar and text
// after every block, the rename) against curl fetching the same file from the same server in
// the same run. The goal is at least half of curl's throughput. Run it as
//   build/bench/bench_download
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "platform/linux/ini_profile_store.h"
#include "platform/linux/qt_downloads.h"
#include "platform/linux/qt_message_pump.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/loopback_http_server.h"
#include "tests/fakes/temp_dir.h"
#include "voices/frm_voices.h"

namespace {

using parlino::testing::LoopbackHttpServer;

constexpr std::size_t kSize = 50 * 1024 * 1024;

// The server and the file it serves, shared by both benchmarks.
struct Served {
  Served()
      : body(LoopbackHttpServer::Body(kSize)),
        server([this](const std::string&, LoopbackHttpServer::Connection& c) {
          if (c.Send(LoopbackHttpServer::Head(200, body.size()))) c.Send(body);
        }) {}
  std::string body;
  LoopbackHttpServer server;
};

Served& Server() {
  static Served served;
  return served;
}

std::map<std::string, double> bytesPerSecond;

void Record(benchmark::State& state, const char* name, double seconds) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
  bytesPerSecond[name] = static_cast<double>(state.iterations() * kSize) / seconds;
}

void BM_ParlinoWindow(benchmark::State& state) {
  parlino::testing::TempDir program;
  parlino::testing::TempDir data;
  parlino::testing::WriteBytes(
      program / "add_voices.ini",
      "[Info]\r\nCount=1\r\n[File_1]\r\nTitle=Voice\r\nSize=50 MB\r\nURL=" +
          Server().server.Address("/voice.bin") + "\r\n");
  parlino::platform::linux_impl::IniProfileStore profiles;
  parlino::platform::linux_impl::QtDownloads downloads;
  parlino::testing::FakeMessageBoxes boxes;
  parlino::testing::FakeShell shell;
  parlino::platform::linux_impl::QtMessagePump pump;
  parlino::voices::TfrmVoices window({profiles,
                                      downloads,
                                      boxes,
                                      shell,
                                      pump,
                                      {program.path(), data.path()},
                                      u"parlino",
                                      u"https://parlino.example/voices/",
                                      [] {}});
  window.show();
  auto* list = window.findChild<QTableWidget*>("List");
  auto* download = window.findChild<QPushButton*>("btnDownload");
  const auto installer = data / "Downloads" / "voice.bin";
  double seconds = 0;
  for (auto _ : state) {
    std::filesystem::remove(installer);
    window.UpdateVoicesList();
    list->item(0, 0)->setCheckState(Qt::Checked);
    const auto start = std::chrono::steady_clock::now();
    download->click();
    while (window.Downloading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    seconds += elapsed;
    if (std::filesystem::file_size(installer) != kSize || boxes.shown.size() != 1 ||
        boxes.shown.back().text != parlino::voices::kExitNowQuestion) {
      state.SkipWithError("the download did not complete");
      break;
    }
    boxes.shown.clear();
  }
  Record(state, "parlino", seconds);
}
BENCHMARK(BM_ParlinoWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_Curl(benchmark::State& state) {
  parlino::testing::TempDir data;
  const QString file = QString::fromStdString((data / "voice.bin").string());
  const QString address = QString::fromStdString(Server().server.Address("/voice.bin"));
  double seconds = 0;
  for (auto _ : state) {
    std::filesystem::remove(data / "voice.bin");
    QProcess curl;
    const auto start = std::chrono::steady_clock::now();
    curl.start("curl", {"--silent", "--fail", "--output", file, address});
    if (!curl.waitForFinished(60000) || curl.exitCode() != 0) {
      state.SkipWithError("curl failed");
      break;
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    seconds += elapsed;
    if (std::filesystem::file_size(data / "voice.bin") != kSize) {
      state.SkipWithError("curl fetched a different size");
      break;
    }
  }
  Record(state, "curl", seconds);
}
BENCHMARK(BM_Curl)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (bytesPerSecond.count("parlino") != 0 && bytesPerSecond.count("curl") != 0) {
    std::printf("Parlino %.0f MB/s, curl %.0f MB/s: %.0f%% of curl's throughput (goal: 50%%)\n",
                bytesPerSecond["parlino"] / 1048576, bytesPerSecond["curl"] / 1048576,
                100 * bytesPerSecond["parlino"] / bytesPerSecond["curl"]);
  }
  return 0;
}
