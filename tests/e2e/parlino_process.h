#pragma once
// The real program, started by an end-to-end test on an account of the test's own. Its audio
// goes to a file through SDL's disk output, at the pace it is heard, and every word the voice
// reaches is printed, so a test can tell what was said and hear how.
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/fakes/temp_dir.h"
#include "tests/platform/audio_samples.h"

namespace parlino::testing {

using Words = std::vector<std::string>;

// The words of a sentence as the voice reports them, without the punctuation after them.
Words WordsOf(const std::string& sentence);

// An account past its first run and its welcome: the program starts hidden in the tray.
inline constexpr char kSettledAccount[] = "[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n";

// Variables added to the program's environment, or changed there.
using ExtraEnvironment = std::vector<std::pair<QString, QString>>;

// The environment the program runs in on the account at `home`: the test's own, with the audio
// going to the account's speech file and the words printed, and `extra` added.
QProcessEnvironment ProgramEnvironment(const TempDir& home, const ExtraEnvironment& extra = {});

// A copy of the program run to its end as a desktop shortcut runs it (e.g. "-read"), on the
// account at `home`: its status (-1 when it crashed or did not end within 30 s), how long it
// ran, and its error output.
struct CommandRun {
  int status = -1;
  std::chrono::milliseconds duration{};
  std::string output;
};
CommandRun RunCommand(const TempDir& home, const QStringList& arguments,
                      const ExtraEnvironment& environment = {});

class ParlinoProcess {
 public:
  // Writes `cfgIni` into the account's settings, then starts the program with `arguments` and
  // waits for the end of its start-up.
  explicit ParlinoProcess(const TempDir& home, const std::string& cfgIni = kSettledAccount,
                          const QStringList& arguments = {"-log"},
                          const ExtraEnvironment& environment = {});
  ~ParlinoProcess();
  ParlinoProcess(const ParlinoProcess&) = delete;
  ParlinoProcess& operator=(const ParlinoProcess&) = delete;

  bool Started() const { return started_; }
  bool Running() const { return process_.state() == QProcess::Running; }

  // Every word spoken so far, in order.
  const Words& Spoken();
  // All the program wrote to its error output, for the report of a failure.
  const std::string& Output();

  // What has been heard of the current reading: every reading opens the output afresh.
  Samples Speech() const { return ReadRawSamples(speechFile_); }
  // The speech once the voice reported the end of its text after the last word it reached.
  Samples FinishedSpeech();
  // How many times a voice reported the end of its text so far. A legacy voice reports no words:
  // its reading is over at the first end after the count taken before it.
  std::size_t EndsOfSpeech();
  // The speech once the end count went past `ends`.
  Samples SpeechEndedAfter(std::size_t ends);

 private:
  void ReadOutput();

  std::filesystem::path speechFile_;
  QProcess process_;
  bool started_ = false;
  std::string output_;
  std::size_t parsed_ = 0;
  Words words_;
  bool endedAfterLastWord_ = false;
  std::size_t ends_ = 0;
};

}  // namespace parlino::testing
