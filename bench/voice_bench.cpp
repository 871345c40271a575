// The Linux voice: time from Speak to the first sample handed to the audio device, for a short
// text and for the longest text a reading sends (51 200 characters), and peak memory while each
// is spoken from start to end.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/linux/espeak_voice_server.h"

namespace {

using parlino::Text;
using parlino::platform::kSpeakAsync;
using parlino::platform::VoiceEventSink;
using parlino::platform::linux_impl::EspeakVoiceServer;
using Clock = std::chrono::steady_clock;

// The user-interface queue of the benchmark thread; remembers when the first task arrived.
class TimingPump final : public parlino::platform::MessagePump {
 public:
  void Post(std::function<void()> task) override {
    std::lock_guard lock(mutex_);
    if (!first_post_) first_post_ = Clock::now();
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
  // Waits for the first task posted since the last call and returns when it was posted.
  Clock::time_point WaitForFirstPost() {
    std::unique_lock lock(mutex_);
    posted_.wait(lock, [&] { return first_post_.has_value(); });
    const Clock::time_point at = *first_post_;
    first_post_.reset();
    return at;
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
  std::optional<Clock::time_point> first_post_;
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

double PeakResidentMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

TimingPump pump;
EspeakVoiceServer server(pump);

// Speak on a fresh voice object, as every reading does. The first call of the process also
// starts the synthesiser, loads the voice and opens the audio driver.
double FirstSampleSeconds(const Text& text) {
  EndSink sink;
  auto voice = server.CreateVoice(sink);
  const Clock::time_point start = Clock::now();
  voice->Speak(text, kSpeakAsync);
  const Clock::time_point first_sample = pump.WaitForFirstPost();  // the start event
  voice.reset();
  pump.ProcessPendingMessages();
  return std::chrono::duration<double>(first_sample - start).count();
}

void BM_FirstSampleColdStart(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(FirstSampleSeconds(MakeText(50)));
}
BENCHMARK(BM_FirstSampleColdStart)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Speaks the whole text with the disk output running as fast as it can take samples, so that
// an hour of speech passes in seconds; reports the process's peak resident memory afterwards.
void BM_PeakMemory(benchmark::State& state) {
  static double short_peak = 0;
  setenv("SDL_DISKAUDIODELAY", "0", 1);
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
    short_peak = peak;
  } else {
    state.counters["over_short_MiB"] = peak - short_peak;
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
  const auto percentile_ms = [&](double p) {
    return 1000 * times[static_cast<std::size_t>(p * static_cast<double>(times.size() - 1))];
  };
  state.counters["median_ms"] = percentile_ms(0.5);
  state.counters["p90_ms"] = percentile_ms(0.9);
  state.counters["max_ms"] = percentile_ms(1.0);
}
BENCHMARK(BM_FirstSample)
    ->Arg(50)
    ->Arg(51200)
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
