// The end of the session while a voice speaks: the time from SIGTERM to the end of the real
// program, which saves its settings, releases its hot keys, its tray icon and its voice on the
// way. The goal is under 2 s. Each run starts the program on a fresh account (the options window
// open, the welcome seen), has the "Default voice" tab's Test button speak, and sends SIGTERM at
// the first word.
//
// Needs an X server of its own, xdotool and espeak-ng; the audio goes to SDL's silent output at
// the pace it would be heard. Run it as
//   tests/run-under-xvfb build/bench/bench_shutdown
#include <benchmark/benchmark.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/wait_until.h"

namespace {

using Clock = std::chrono::steady_clock;

bool Run(const QStringList& arguments) {
  QProcess tool;
  tool.start("xdotool", arguments);
  return tool.waitForFinished(20000) && tool.exitCode() == 0;
}

// One program from its start to SIGTERM while it speaks; the milliseconds to its end, or a
// negative number when something on the way did not happen.
double ShutDownWhileSpeaking() {
  QTemporaryDir home;
  // A fresh account that has seen the welcome already: the options window opens at the start.
  QDir(home.path()).mkpath("Parlino");
  QFile cfg(home.filePath("Parlino/cfg.ini"));
  if (!cfg.open(QIODevice::WriteOnly) || cfg.write("[General]\r\nWelcomeDlg=1\r\n") < 0) return -1;
  cfg.close();
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", home.path());
  environment.insert("SDL_AUDIODRIVER", "dummy");
  environment.insert("PARLINO_TRACE_WORDS", "1");
  program.setProcessEnvironment(environment);
  program.start(PARLINO_PROGRAM, {});
  if (!program.waitForStarted()) return -1;
  const auto stop = [&](double result) {
    if (program.state() != QProcess::NotRunning) {
      program.kill();
      program.waitForFinished();
    }
    return result;
  };
  if (!Run({"search", "--sync", "--onlyvisible", "--name", "^Parlino!$", "windowfocus", "--sync",
            "key", "ctrl+Tab", "alt+t"})) {
    return stop(-1);
  }
  QByteArray errors;
  if (!WaitUntil(
          [&] {
            program.waitForReadyRead(10);
            errors += program.readAllStandardError();
            return errors.contains("word: ");
          },
          std::chrono::seconds(20))) {
    return stop(-1);
  }
  const Clock::time_point signalled = Clock::now();
  kill(static_cast<pid_t>(program.processId()), SIGTERM);
  if (!program.waitForFinished(20000) || program.exitCode() != 0) return stop(-1);
  return std::chrono::duration<double, std::milli>(Clock::now() - signalled).count();
}

void BM_ShutdownWhileSpeaking(benchmark::State& state) {
  std::vector<double> times;
  for (auto _ : state) {
    const double milliseconds = ShutDownWhileSpeaking();
    if (milliseconds < 0) {
      state.SkipWithError("the program did not speak or did not end with status 0");
      return;
    }
    times.push_back(milliseconds);
    state.SetIterationTime(milliseconds / 1000);
  }
  std::sort(times.begin(), times.end());
  state.counters["median_ms"] = times[times.size() / 2];
  state.counters["max_ms"] = times.back();
}
BENCHMARK(BM_ShutdownWhileSpeaking)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "bench_shutdown needs an X server: run it under tests/run-under-xvfb\n");
    return 1;
  }
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
