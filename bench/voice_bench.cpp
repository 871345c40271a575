// The Linux voices, modern (espeak-ng) and legacy (Flite): time from Speak to the first sample
// handed to the audio device, for a short text and for the longest text a reading sends
// (51 200 characters), and peak memory while each is spoken from start to end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/espeak_voice_server.h"
#include "platform/linux/flite_engine_server.h"
#include "platform/linux/flite_library.h"
#include "platform/linux/utf8_code_page.h"

namespace {

using parlino::Text;
using parlino::platform::kSpeakAsync;
using parlino::platform::LegacyEngine;
using parlino::platform::LegacyNotifySink;
using parlino::platform::VoiceEventSink;
using parlino::platform::linux_impl::EspeakVoiceServer;
using parlino::platform::linux_impl::FliteEngineServer;
using Clock = std::chrono::steady_clock;

// The user-interface queue of the benchmark thread; remembers when the first task arrived.
class TimingPump final : public parlino::platform::MessagePump {
 public:
  void Post(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    if (!firstPost_) firstPost_ = Clock::now();
    tasks_.push_back(std::move(task));
    posted_.notify_all();
  }
  void ProcessPendingMessages() override {
    std::deque<std::function<void()>> ready;
    {
      std::lock_guard lock(mutex_);
      ready.swap(tasks_);
    }
    for (auto& task : ready) task();
  }
  // Runs what is waiting and forgets when it was posted: a measurement starts afresh.
  void StartAfresh() {
    ProcessPendingMessages();
    std::lock_guard lock(mutex_);
    firstPost_.reset();
  }
  // Waits for the first task posted since the last call and returns when it was posted.
  Clock::time_point WaitForFirstPost() {
    std::unique_lock lock(mutex_);
    posted_.wait(lock, [&] { return firstPost_.has_value(); });
    const Clock::time_point at = *firstPost_;
    firstPost_.reset();
    return at;
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
  std::optional<Clock::time_point> firstPost_;
};

class EndSink final : public VoiceEventSink {
 public:
  void OnStartStream(std::int32_t) override {}
  void OnEndStream(std::int32_t) override { ended = true; }
  void OnWord(std::int32_t, std::int32_t, std::int32_t) override {}
  bool ended = false;
};

Text MakeText(std::size_t length) {
  const Text sentence = u"The quick brown fox jumps over the lazy dog, and then it rests. ";
  Text text;
  while (text.size() < length) text += sentence;
  text.resize(length);
  return text;
}

// The process's peak resident memory since the last reset (VmHWM), which starts each memory
// benchmark afresh: what one voice needed is not hidden by what another needed before.
void ResetPeakResident() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

double PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

TimingPump pump;
EspeakVoiceServer server(pump);
parlino::platform::linux_impl::Utf8CodePage codePage;
FliteEngineServer legacyServer(pump, codePage);

class StopSink final : public LegacyNotifySink {
 public:
  void AttribChanged(std::uint32_t) override {}
  void AudioStart(std::uint64_t) override {}
  void AudioStop(std::uint64_t) override { stopped = true; }
  void Visual(std::uint64_t, char, char, std::uint32_t,
              const parlino::platform::LegacyMouth&) override {}
  bool stopped = false;
};

// Flite's voices in the list: kal16, the quickest at 16 kHz, and slt, the slowest to synthesise.
constexpr std::int64_t kKal16 = 1;
constexpr std::int64_t kSlt = 4;

// A fresh instance of a Flite voice, as every reading with a legacy voice selects one.
std::unique_ptr<LegacyEngine> FliteVoice(std::int64_t index,
                                         const std::shared_ptr<StopSink>& sink) {
  auto modes = legacyServer.CreateEnumerator();
  modes->Skip(static_cast<std::uint32_t>(index));
  auto engine = modes->Select(modes->Next()->modeId, legacyServer.CreateAudioDevice());
  engine->Register(sink);
  return engine;
}

std::string AnsiText(const Text& text) {
  return codePage.FromWide(text) + '\0';
}

// Speak on a fresh voice object, as every reading does. The first call of the process also
// starts the synthesiser, loads the voice and opens the audio driver.
double FirstSampleSeconds(const Text& text) {
  EndSink sink;
  auto voice = server.CreateVoice(sink);
  pump.StartAfresh();
  const Clock::time_point start = Clock::now();
  voice->Speak(text, kSpeakAsync);
  const Clock::time_point firstSample = pump.WaitForFirstPost();  // the start event
  voice.reset();
  pump.ProcessPendingMessages();
  return std::chrono::duration<double>(firstSample - start).count();
}

void BM_FirstSampleColdStart(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(FirstSampleSeconds(MakeText(50)));
}
BENCHMARK(BM_FirstSampleColdStart)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Speaks the whole text with the disk output running as fast as it can take samples, so that
// an hour of speech passes in seconds; reports the process's peak resident memory afterwards.
void BM_PeakMemory(benchmark::State& state) {
  static double shortPeak = 0;
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  ResetPeakResident();
  const Text text = MakeText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    EndSink sink;
    auto voice = server.CreateVoice(sink);
    voice->Speak(text, kSpeakAsync);
    while (!sink.ended) {
      pump.WaitForFirstPost();
      pump.ProcessPendingMessages();
    }
  }
  unsetenv("SDL_DISKAUDIODELAY");
  const double peak = PeakResidentMiB();
  state.counters["peak_rss_MiB"] = peak;
  if (state.range(0) <= 50) {
    shortPeak = peak;
  } else {
    state.counters["over_short_MiB"] = peak - shortPeak;
  }
}
BENCHMARK(BM_PeakMemory)->Arg(50)->Arg(51200)->Iterations(1)->Unit(benchmark::kSecond);

// The mean is the benchmark's time; a loaded machine shows in the tail, hence the percentiles.
void BM_FirstSample(benchmark::State& state) {
  const Text text = MakeText(static_cast<std::size_t>(state.range(0)));
  std::vector<double> times;
  for (auto _ : state) {
    times.push_back(FirstSampleSeconds(text));
    state.SetIterationTime(times.back());
  }
  std::sort(times.begin(), times.end());
  const auto percentileMs = [&](double p) {
    return 1000 * times[static_cast<std::size_t>(p * static_cast<double>(times.size() - 1))];
  };
  state.counters["median_ms"] = percentileMs(0.5);
  state.counters["p90_ms"] = percentileMs(0.9);
  state.counters["max_ms"] = percentileMs(1.0);
}
BENCHMARK(BM_FirstSample)
    ->Arg(50)
    ->Arg(51200)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

double FliteFirstSampleSeconds(std::int64_t voice, const std::string& text) {
  auto sink = std::make_shared<StopSink>();
  auto engine = FliteVoice(voice, sink);
  pump.StartAfresh();
  const Clock::time_point start = Clock::now();
  engine->TextData(text, nullptr);
  const Clock::time_point firstSample = pump.WaitForFirstPost();  // the audio start
  engine.reset();
  pump.ProcessPendingMessages();
  return std::chrono::duration<double>(firstSample - start).count();
}

void BM_FliteFirstSampleColdStart(benchmark::State& state) {
  for (auto _ : state)
    state.SetIterationTime(FliteFirstSampleSeconds(kSlt, AnsiText(MakeText(50))));
}
BENCHMARK(BM_FliteFirstSampleColdStart)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_FlitePeakMemory(benchmark::State& state) {
  static double shortPeak = 0;
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  ResetPeakResident();
  const std::string text = AnsiText(MakeText(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    auto sink = std::make_shared<StopSink>();
    auto engine = FliteVoice(kSlt, sink);
    engine->TextData(text, nullptr);
    while (!sink->stopped) {
      pump.WaitForFirstPost();
      pump.ProcessPendingMessages();
    }
  }
  unsetenv("SDL_DISKAUDIODELAY");
  const double peak = PeakResidentMiB();
  state.counters["peak_rss_MiB"] = peak;
  if (state.range(0) <= 50) {
    shortPeak = peak;
  } else {
    state.counters["over_short_MiB"] = peak - shortPeak;
  }
}
BENCHMARK(BM_FlitePeakMemory)->Arg(50)->Arg(51200)->Iterations(1)->Unit(benchmark::kSecond);

// Arguments: the voice, the length of the text.
void BM_FliteFirstSample(benchmark::State& state) {
  const std::string text = AnsiText(MakeText(static_cast<std::size_t>(state.range(1))));
  std::vector<double> times;
  for (auto _ : state) {
    times.push_back(FliteFirstSampleSeconds(state.range(0), text));
    state.SetIterationTime(times.back());
  }
  std::sort(times.begin(), times.end());
  const auto percentileMs = [&](double p) {
    return 1000 * times[static_cast<std::size_t>(p * static_cast<double>(times.size() - 1))];
  };
  state.counters["median_ms"] = percentileMs(0.5);
  state.counters["p90_ms"] = percentileMs(0.9);
  state.counters["max_ms"] = percentileMs(1.0);
}
BENCHMARK(BM_FliteFirstSample)
    ->Args({kSlt, 50})
    ->Args({kSlt, 51200})
    ->Args({kKal16, 50})
    ->Args({kKal16, 51200})
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Audio goes to SDL's disk driver and from there nowhere, at real-time pace unless a
  // benchmark says otherwise.
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
