// The reading hot key end to end, with the real services and the options window made as the
// program makes them: the time from the key press to the first sample of the reading handed to
// the audio device (the voice's start event). The goal is a median under 60 ms with an
// application that copies at once: the capture reads as soon as the clipboard's owner changes.
// copy_target is that application, with a short sentence selected; each reading is heard to its
// end before the next key press.
// The first reading of a run is reported on its own, as it also loads the voice; every later one
// also releases the voice object of the reading before. Also reported: how long the key takes
// to reach the hot key's handler.
//
// Needs an X server of its own and espeak-ng; the audio goes to SDL's disk output and from
// there to /dev/null, at the pace it would be heard. Run it as
//   tests/run-under-xvfb build/bench/bench_reading
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/entry/linux_services.h"
#include "app/ui/frm_main.h"
#include "platform/linux/folders.h"

// X11 last: its macros clash with Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;
using parlino::app::TfrmMain;

// Presses Ctrl+Backspace, the reading hot key of a fresh account, as the user's keyboard would.
class Keyboard {
 public:
  Keyboard() : display_(XOpenDisplay(nullptr)) {}
  ~Keyboard() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  bool Usable() const { return display_ != nullptr; }

  void PressReadingHotKey() {
    const KeyCode ctrl = XKeysymToKeycode(display_, XK_Control_L);
    const KeyCode backspace = XKeysymToKeycode(display_, XK_BackSpace);
    XTestFakeKeyEvent(display_, ctrl, True, CurrentTime);
    XTestFakeKeyEvent(display_, backspace, True, CurrentTime);
    XTestFakeKeyEvent(display_, backspace, False, CurrentTime);
    XTestFakeKeyEvent(display_, ctrl, False, CurrentTime);
    XFlush(display_);
  }

 private:
  Display* display_;
};

// Runs the event loop, blocking while nothing happens, until `done` holds or `timeout` passes.
bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  QTimer wake;  // so that the loop looks at the clock while nothing else happens
  wake.start(50);
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > timeout.count()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

struct ReadingTimes {
  double toHandler = 0;      // ms from the key press to the hot key's handler
  double toFirstSample = 0;  // ms from the key press to the start event
};

// The options window with its reading events watched.
class Reader {
 public:
  explicit Reader(TfrmMain& frmMain) {
    auto handler = frmMain.DefaultHotKey.OnHotKey;
    frmMain.DefaultHotKey.OnHotKey = [this, handler](parlino::reading::GlobalHotKey& sender) {
      handled_ = Clock::now();
      handler(sender);
    };
    auto started = frmMain.SpeechAPI5.OnStartStream;
    frmMain.SpeechAPI5.OnStartStream = [this, started](parlino::speech::TSpVoice& sender,
                                                       std::int32_t stream) {
      started_ = Clock::now();
      started(sender, stream);
    };
    auto ended = frmMain.SpeechAPI5.OnEndStream;
    frmMain.SpeechAPI5.OnEndStream = [this, ended](parlino::speech::TSpVoice& sender,
                                                   std::int32_t stream) {
      ended_ = true;
      ended(sender, stream);
    };
  }

  // One reading of the selection, heard to its end; nothing when it did not start or end.
  std::optional<ReadingTimes> Read() {
    handled_.reset();
    started_.reset();
    ended_ = false;
    const Clock::time_point pressed = Clock::now();
    keyboard_.PressReadingHotKey();
    if (!RunUntil([&] { return started_.has_value(); }, std::chrono::seconds(10))) return {};
    if (!RunUntil([&] { return ended_; }, std::chrono::seconds(30)) || !handled_) return {};
    return ReadingTimes{Milliseconds(*handled_ - pressed), Milliseconds(*started_ - pressed)};
  }

  bool Usable() const { return keyboard_.Usable(); }

 private:
  Keyboard keyboard_;
  std::optional<Clock::time_point> handled_;
  std::optional<Clock::time_point> started_;
  bool ended_ = false;
};

Reader* reader = nullptr;

void Report(benchmark::State& state, std::vector<double> times, const std::string& prefix) {
  std::sort(times.begin(), times.end());
  const auto percentile = [&](double p) {
    return times[static_cast<std::size_t>(p * static_cast<double>(times.size() - 1))];
  };
  state.counters[prefix + "median_ms"] = percentile(0.5);
  state.counters[prefix + "p90_ms"] = percentile(0.9);
  state.counters[prefix + "max_ms"] = percentile(1.0);
}

void Measure(benchmark::State& state) {
  std::vector<double> toFirstSample;
  std::vector<double> toHandler;
  for (auto _ : state) {
    const std::optional<ReadingTimes> times = reader->Read();
    if (!times) {
      state.SkipWithError("the reading did not start or did not end");
      return;
    }
    toFirstSample.push_back(times->toFirstSample);
    toHandler.push_back(times->toHandler);
    state.SetIterationTime(times->toFirstSample / 1000);
  }
  Report(state, toFirstSample, "");
  Report(state, toHandler, "key_to_handler_");
}

void BM_FirstReading(benchmark::State& state) {
  Measure(state);
}
BENCHMARK(BM_FirstReading)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Reading(benchmark::State& state) {
  Measure(state);
}
BENCHMARK(BM_Reading)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr, "bench_reading needs an X server: run it under tests/run-under-xvfb\n");
    return 1;
  }
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  // A fresh account of its own: the user's settings are neither read nor written.
  std::string home = (std::filesystem::temp_directory_path() / "parlino-bench-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  setenv("XDG_CONFIG_HOME", home.c_str(), 1);
  benchmark::Initialize(&argc, argv);
  int status = 0;
  {
    const parlino::platform::Folders folders = parlino::platform::linux_impl::DiscoverFolders();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    parlino::app::LinuxServices services;
    parlino::app::AppContext context = services.Context(folders, {argv[0], "-autostart"});
    TfrmMain frmMain(context);
    frmMain.FormCreate();

    QProcess copyTarget;
    copyTarget.start(PARLINO_COPY_TARGET, {"line", "Hello world."});
    Reader watched(frmMain);
    const bool ready =
        RunUntil([&] { return copyTarget.readAllStandardOutput().contains("ready"); },
                 std::chrono::seconds(20));
    if (!ready || !watched.Usable()) {
      std::fprintf(stderr, "bench_reading: copy_target did not take the focus\n");
      status = 1;
    } else {
      reader = &watched;
      benchmark::RunSpecifiedBenchmarks();
      reader = nullptr;
    }
    copyTarget.kill();
    copyTarget.waitForFinished();
  }
  benchmark::Shutdown();
  std::filesystem::remove_all(home);
  return status;
}
