#include "platform/linux/audio_channel.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/recording_voice_sink.h"

namespace parlino::platform::linux_impl {
namespace {

using testing::FakeMessagePump;
using testing::RecordingVoiceSink;
using Log = std::vector<std::string>;

std::vector<std::int16_t> Ramp(std::size_t count, std::int16_t first = 1) {
  std::vector<std::int16_t> samples(count);
  std::iota(samples.begin(), samples.end(), first);
  return samples;
}

class AudioChannelTest : public ::testing::Test {
 protected:
  static constexpr std::size_t kAhead = 1000;
  static constexpr std::size_t kBuffer = 256;

  // Queues `text` as one stream and synthesises it as `samples` with the given words.
  void Speak(std::int32_t stream, Text text, const std::vector<std::int16_t>& samples,
             const std::vector<WordMark>& words, int volume = 100) {
    SpeechJob job{stream, std::move(text), 0, 0, {"en", 175, volume}};
    channel.Queue(std::move(job));
    const auto piece = channel.TakePiece(400);
    ASSERT_TRUE(piece.has_value());
    ASSERT_TRUE(piece->last);
    EXPECT_TRUE(channel.Append(*piece, samples, words));
    channel.Finish(*piece);
  }

  // One device buffer; returns its samples and records which events it reported.
  std::vector<std::int16_t> Fill() {
    std::vector<std::int16_t> out(kBuffer, -1);
    channel.Fill(out);
    pump.ProcessPendingMessages();
    sink.log.push_back("|");
    return out;
  }

  FakeMessagePump pump;
  RecordingVoiceSink sink;
  int wakes = 0;
  AudioChannel channel{pump, sink, kAhead, [this] { ++wakes; }};
};

TEST_F(AudioChannelTest, PlaysTheSamplesWithEachEventAtItsSample) {
  const auto samples = Ramp(600);
  Speak(1, u"one two", samples, {{0, 0, 3}, {300, 4, 3}});
  std::vector<std::int16_t> played;
  for (int i = 0; i < 4; ++i) {
    const auto out = Fill();
    played.insert(played.end(), out.begin(), out.end());
  }
  // Start and first word with the first buffer, the second word with the buffer holding sample
  // 300, the end once the buffer holding the last sample has gone out.
  EXPECT_EQ(sink.log, (Log{"start 1", "word 1 0 3", "|", "word 1 4 3", "|", "|", "end 1", "|"}));
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), played.begin()));
  EXPECT_TRUE(std::all_of(played.begin() + 600, played.end(), [](auto s) { return s == 0; }));
}

TEST_F(AudioChannelTest, PauseHoldsTheNextSampleUntilResume) {
  const auto samples = Ramp(600);
  Speak(1, u"x", samples, {});
  std::vector<std::int16_t> played = Fill();
  channel.SetPaused(true);
  const auto silent = Fill();
  EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](auto s) { return s == 0; }));
  channel.Queue({2, u"queued while paused", 0, 0, {"en", 175, 100}});
  EXPECT_EQ(Fill(), silent);
  channel.SetPaused(false);
  for (int i = 0; i < 2; ++i) {
    const auto out = Fill();
    played.insert(played.end(), out.begin(), out.end());
  }
  EXPECT_TRUE(std::equal(samples.begin(), samples.end(), played.begin()));
}

TEST_F(AudioChannelTest, VolumeScalesTheSamples) {
  Speak(1, u"x", {1000, -1000, 30000}, {}, 50);
  const auto out = Fill();
  EXPECT_EQ(std::vector<std::int16_t>(out.begin(), out.begin() + 3),
            (std::vector<std::int16_t>{500, -500, 15000}));
}

TEST_F(AudioChannelTest, EmptyTextStillStartsAndEnds) {
  Speak(1, u"", {}, {});
  Fill();
  EXPECT_EQ(sink.log, (Log{"start 1", "end 1", "|"}));
}

TEST_F(AudioChannelTest, PurgeDiscardsEverythingAndEndsTheStreamThatStarted) {
  Speak(1, u"one", Ramp(2000), {});
  channel.Queue({2, u"two", 0, 0, {"en", 175, 100}});
  const auto stale = channel.TakePiece(400);  // synthesis of stream 2 is under way
  Fill();
  channel.Purge();
  pump.ProcessPendingMessages();
  EXPECT_EQ(sink.log, (Log{"start 1", "|", "end 1"}));
  EXPECT_FALSE(channel.Append(*stale, Ramp(10), {}));  // the purged synthesis stops
  channel.Finish(*stale);
  EXPECT_EQ(channel.Buffered(), 0u);
  EXPECT_FALSE(channel.NeedsAudio());
  // A stream that had not started yet ends silently, and a purge of nothing reports nothing.
  channel.Purge();
  Speak(3, u"three", Ramp(10), {});
  channel.Purge();
  pump.ProcessPendingMessages();
  EXPECT_EQ(sink.log, (Log{"start 1", "|", "end 1"}));
}

TEST_F(AudioChannelTest, WithNothingToPlayTheAudioThreadWaitsForTheFirstSamples) {
  std::vector<std::int16_t> out(kBuffer, -1);
  std::thread audio([&] { channel.Fill(out); });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  Speak(1, u"x", Ramp(10), {});
  audio.join();
  EXPECT_EQ(std::vector<std::int16_t>(out.begin(), out.begin() + 10), Ramp(10));
  channel.Fill(out);  // reports the end
  // Closing releases a waiting audio thread with silence.
  std::thread closing([&] { channel.Fill(out); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  channel.Close();
  closing.join();
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](auto s) { return s == 0; }));
}

TEST_F(AudioChannelTest, NoEventReachesTheSinkAfterClose) {
  Speak(1, u"one", Ramp(100), {{0, 0, 3}});
  std::vector<std::int16_t> out(kBuffer);
  channel.Fill(out);  // posts start, word and end
  channel.Close();
  pump.ProcessPendingMessages();
  EXPECT_TRUE(sink.log.empty());
}

TEST_F(AudioChannelTest, SynthesisKeepsABoundedAmountReadyAndIsWokenForMore) {
  channel.Queue({1, u"a long text. " + Text(1000, u'a'), 5, 0, {"en", 175, 100}});
  EXPECT_EQ(wakes, 1);
  EXPECT_TRUE(channel.NeedsAudio());
  const auto first = channel.TakePiece(400);
  ASSERT_TRUE(first.has_value());
  EXPECT_FALSE(first->last);
  EXPECT_EQ(first->utf8, "a long text. ");
  EXPECT_EQ(first->offsets.front(), 5u);  // positions count in the text as given
  EXPECT_TRUE(first->endsSentence);
  EXPECT_TRUE(channel.Append(*first, Ramp(kAhead), {}));
  EXPECT_FALSE(channel.NeedsAudio());  // a full second ready: no more synthesis for now
  Fill();
  EXPECT_TRUE(channel.NeedsAudio());
  EXPECT_EQ(wakes, 2);
  const auto second = channel.TakePiece(400);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->offsets.front(), 5u + 13u);
  EXPECT_EQ(second->utf8, std::string(400, 'a'));
}

TEST_F(AudioChannelTest, AFailedPieceDropsTheRestOfItsStream) {
  channel.Queue({1, Text(1000, u'a'), 0, 0, {"en", 175, 100}});
  channel.Queue({2, u"next", 0, 0, {"en", 175, 100}});
  const auto piece = channel.TakePiece(400);
  channel.Fail(*piece);
  Fill();
  EXPECT_EQ(sink.log, (Log{"start 1", "end 1", "|"}));
  const auto next = channel.TakePiece(400);
  ASSERT_TRUE(next.has_value());
  EXPECT_EQ(next->stream, 2);
}

}  // namespace
}  // namespace parlino::platform::linux_impl
