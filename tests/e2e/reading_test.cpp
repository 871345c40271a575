// Reading aloud as a user does it, with the real program on an empty account: another
// application's window holds a selected sentence and the focus, the hot keys and the middle
// button go through the X server, SDL's disk output records what is heard, and xclip looks
// after the user's clipboard.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <chrono>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/espeak_library.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/audio_samples.h"
#include "tests/platform/x11_test_support.h"

namespace parlino::testing {
namespace {

using namespace std::chrono_literals;
using platform::linux_impl::EspeakLibrary;
using Words = std::vector<std::string>;

// The words of a sentence as the voice reports them, without the punctuation after them.
Words WordsOf(const std::string& sentence) {
  Words words;
  std::istringstream in(sentence);
  for (std::string word; in >> word;) {
    while (!word.empty() && (word.back() == '.' || word.back() == ',')) word.pop_back();
    words.push_back(word);
  }
  return words;
}

bool EndsWith(const Words& words, const Words& end) {
  return words.size() >= end.size() &&
         std::equal(end.begin(), end.end(), words.end() - static_cast<std::ptrdiff_t>(end.size()));
}

Samples Tail(const Samples& samples, std::size_t from) {
  return Samples(samples.begin() + static_cast<std::ptrdiff_t>(std::min(from, samples.size())),
                 samples.end());
}

void Press(const QString& keys) {
  RunTool("xdotool", {"key", keys});
}

// The program as a fresh account starts it at login. Its audio goes to a file, at the pace it
// is heard, and every word it reaches is printed.
class Parlino {
 public:
  explicit Parlino(const TempDir& home) : speechFile_(home / "speech.raw") {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path().string()));
    environment.insert("SDL_AUDIODRIVER", "disk");
    environment.insert("SDL_DISKAUDIOFILE", QString::fromStdString(speechFile_.string()));
    environment.insert("PARLINO_TRACE_WORDS", "1");
    process_.setProcessEnvironment(environment);
    process_.start(PARLINO_PROGRAM, {"-autostart", "-log"});
    // The log's last start step comes after the hot keys are in place.
    const auto log = home / "Parlino" / "debug.txt";
    started_ = WaitFor([&] { return ReadBytes(log).find("Start : 8") != std::string::npos; }, 60s);
  }
  ~Parlino() {
    process_.kill();
    process_.waitForFinished();
  }
  Parlino(const Parlino&) = delete;
  Parlino& operator=(const Parlino&) = delete;

  bool Started() const { return started_; }
  bool Running() const { return process_.state() == QProcess::Running; }

  // Every word spoken so far, in order.
  const Words& Spoken() {
    ReadOutput();
    return words_;
  }
  // All the program wrote to its error output, for the report of a failure.
  const std::string& Output() {
    ReadOutput();
    return output_;
  }

  // What has been heard of the current reading: every reading opens the output afresh.
  Samples Speech() const { return ReadRawSamples(speechFile_); }

  // The speech once the output stopped growing: the reading has been heard to its end.
  Samples FinishedSpeech() {
    std::size_t size = 0;
    QElapsedTimer unchanged;
    unchanged.start();
    const bool finished = WaitFor(
        [&] {
          const std::size_t now = Speech().size();
          if (now != size) {
            size = now;
            unchanged.restart();
          }
          return size > 0 && unchanged.elapsed() > 600;
        },
        30s);
    EXPECT_TRUE(finished) << "the speech did not end";
    return Speech();
  }

 private:
  void ReadOutput() {
    output_ += process_.readAllStandardError().toStdString();
    for (std::size_t end; (end = output_.find('\n', parsed_)) != std::string::npos;
         parsed_ = end + 1) {
      const std::string line = output_.substr(parsed_, end - parsed_);
      if (line.starts_with("word: ")) words_.push_back(line.substr(6));
    }
  }

  std::filesystem::path speechFile_;
  QProcess process_;
  bool started_ = false;
  std::string output_;
  std::size_t parsed_ = 0;
  Words words_;
};

class ReadingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(parlino.Started()) << parlino.Output(); }
  void TearDown() override {
    EXPECT_TRUE(parlino.Running()) << "the program ended";
    if (HasFailure()) std::cerr << "The program's error output:\n" << parlino.Output();
  }

  bool WaitForWords(std::size_t count) {
    return WaitFor([&] { return parlino.Spoken().size() >= count; }, 30s);
  }

  const int sampleRate = EspeakLibrary::Instance().sample_rate();
  // An empty account reads with the first voice espeak-ng lists.
  const std::string voice = EspeakLibrary::Instance().ListVoices().at(0).identifier;
  TempDir home;
  Parlino parlino{home};
};

TEST_F(ReadingTest, TheHotKeyReadsTheSelectionAloudAndGivesBackTheUsersPicture) {
  const std::string sentence = "The quick brown fox jumps over the lazy dog.";
  const QByteArray png = PngImage();
  PutOnClipboardWithXclip("image/png", png);
  CopyTarget target("text", QString::fromStdString(sentence));
  ASSERT_TRUE(target.Ready());

  Press("ctrl+BackSpace");
  ASSERT_TRUE(WaitForWords(WordsOf(sentence).size()))
      << "words so far: " << parlino.Spoken().size();
  const Samples speech = parlino.FinishedSpeech();

  EXPECT_EQ(parlino.Spoken(), WordsOf(sentence));
  const Samples reference = EspeakNgRendering(home.path(), sentence, voice);
  const double length = double(FindSound(speech).length());
  const double expected = double(FindSound(reference).length());
  EXPECT_GT(expected, sampleRate);
  EXPECT_NEAR(length, expected, 0.1 * expected);
  EXPECT_GT(PeakLevel(speech), 5000);
  // Only what is heard is written: no silence runs on after the speech.
  EXPECT_LT(double(speech.size() - FindSound(speech).end), 0.5 * sampleRate);

  EXPECT_TRUE(ClipboardTargets().contains("image/png"))
      << ClipboardTargets().join(' ').toStdString();
  EXPECT_EQ(ClipboardData("image/png"), png);
}

TEST_F(ReadingTest, PauseSilencesTheReadingAndResumeBringsTheRemainingWords) {
  const std::string sentence =
      "Speech goes on for a while here so that there is time to pause it and to resume it later.";
  const Words words = WordsOf(sentence);
  const std::string usersText = "the user's own text";
  PutOnClipboardWithXclip("UTF8_STRING", QByteArray::fromStdString(usersText));
  CopyTarget target("text", QString::fromStdString(sentence));
  ASSERT_TRUE(target.Ready());

  Press("ctrl+BackSpace");
  ASSERT_TRUE(WaitForWords(3));
  Press("ctrl+F12");
  // Paused: what the output gets from then on is silence.
  const std::size_t quiet = static_cast<std::size_t>(sampleRate / 2);
  ASSERT_TRUE(WaitFor(
      [&] {
        const Samples speech = parlino.Speech();
        return speech.size() > quiet && PeakLevel(Tail(speech, speech.size() - quiet)) == 0;
      },
      10s))
      << "the speech went on";
  const std::size_t wordsAtPause = parlino.Spoken().size();
  const std::size_t pausedAt = parlino.Speech().size();
  ASSERT_LT(wordsAtPause, words.size()) << "the reading ended before the pause";
  Settle(1s);
  EXPECT_EQ(parlino.Spoken().size(), wordsAtPause) << "words came during the pause";
  const std::size_t resumedAt = parlino.Speech().size();
  EXPECT_EQ(PeakLevel(Tail(parlino.Speech(), pausedAt)), 0) << "sound during the pause";

  Press("ctrl+F12");
  ASSERT_TRUE(WaitForWords(words.size())) << "words so far: " << parlino.Spoken().size();
  const Samples speech = parlino.FinishedSpeech();
  // It carried on where it stopped: every word once, in order.
  EXPECT_EQ(parlino.Spoken(), words);
  EXPECT_GT(CountSound(Tail(speech, resumedAt)), static_cast<std::size_t>(sampleRate / 2));
  EXPECT_EQ(ClipboardData("UTF8_STRING").toStdString(), usersText);
}

TEST_F(ReadingTest, TheMiddleButtonReadsTheSelectionAndGivesBackTheUsersText) {
  const std::string sentence = "A click of the middle button reads this line.";
  const std::string usersText = "the user's own text";
  PutOnClipboardWithXclip("UTF8_STRING", QByteArray::fromStdString(usersText));
  CopyTarget target("line", QString::fromStdString(sentence));
  ASSERT_TRUE(target.Ready());

  // Clicked away from every window, so that the click itself does nothing there. While the
  // button is down, every tick of the poll starts a reading; the last one is heard to the end.
  RunTool("xdotool",
          {"mousemove", "1275", "1020", "mousedown", "2", "sleep", "0.2", "mouseup", "2"});
  ASSERT_TRUE(WaitFor([&] { return EndsWith(parlino.Spoken(), WordsOf(sentence)); }, 30s))
      << "words so far: " << parlino.Spoken().size();
  parlino.FinishedSpeech();
  EXPECT_TRUE(EndsWith(parlino.Spoken(), WordsOf(sentence)));
  EXPECT_EQ(ClipboardData("UTF8_STRING").toStdString(), usersText);
}

}  // namespace
}  // namespace parlino::testing
