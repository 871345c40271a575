#include "tests/e2e/parlino_process.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <chrono>
#include <sstream>

#include "tests/platform/x11_test_support.h"

namespace parlino::testing {

using namespace std::chrono_literals;

Words WordsOf(const std::string& sentence) {
  Words words;
  std::istringstream in(sentence);
  for (std::string word; in >> word;) {
    while (!word.empty() && (word.back() == '.' || word.back() == ',')) word.pop_back();
    words.push_back(word);
  }
  return words;
}

QProcessEnvironment ProgramEnvironment(const TempDir& home, const ExtraEnvironment& extra) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path().string()));
  environment.insert("SDL_AUDIODRIVER", "disk");
  environment.insert("SDL_DISKAUDIOFILE", QString::fromStdString((home / "speech.raw").string()));
  environment.insert("PARLINO_TRACE_WORDS", "1");
  for (const auto& [name, value] : extra) environment.insert(name, value);
  return environment;
}

CommandRun RunCommand(const TempDir& home, const QStringList& arguments,
                      const ExtraEnvironment& environment) {
  QProcess command;
  command.setProcessEnvironment(ProgramEnvironment(home, environment));
  QElapsedTimer timer;
  timer.start();
  command.start(PARLINO_PROGRAM, arguments);
  const bool ended = WaitFor([&] { return command.state() == QProcess::NotRunning; }, 30s);
  CommandRun run;
  run.duration = std::chrono::milliseconds(timer.elapsed());
  run.output = command.readAllStandardError().toStdString();
  if (!ended) {
    command.kill();
    command.waitForFinished();
    return run;
  }
  run.status = command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1;
  return run;
}

ParlinoProcess::ParlinoProcess(const TempDir& home, const std::string& cfgIni,
                               const QStringList& arguments, const ExtraEnvironment& environment)
    : speechFile_(home / "speech.raw") {
  std::filesystem::create_directories(home / "Parlino");
  WriteBytes(home / "Parlino" / "cfg.ini", cfgIni);
  process_.setProcessEnvironment(ProgramEnvironment(home, environment));
  process_.start(PARLINO_PROGRAM, arguments);
  // The log's last start step comes after the hot keys are in place.
  const auto log = home / "Parlino" / "debug.txt";
  started_ = WaitFor([&] { return ReadBytes(log).find("Start : 8") != std::string::npos; }, 60s);
}

ParlinoProcess::~ParlinoProcess() {
  process_.kill();
  process_.waitForFinished();
}

const Words& ParlinoProcess::Spoken() {
  ReadOutput();
  return words_;
}

const std::string& ParlinoProcess::Output() {
  ReadOutput();
  return output_;
}

Samples ParlinoProcess::FinishedSpeech() {
  const bool finished = WaitFor(
      [&] {
        ReadOutput();
        return endedAfterLastWord_;
      },
      30s);
  EXPECT_TRUE(finished) << "the speech did not end";
  return Speech();
}

std::size_t ParlinoProcess::EndsOfSpeech() {
  ReadOutput();
  return ends_;
}

Samples ParlinoProcess::SpeechEndedAfter(std::size_t ends) {
  const bool ended = WaitFor([&] { return EndsOfSpeech() > ends; }, 30s);
  EXPECT_TRUE(ended) << "the speech did not end";
  return Speech();
}

void ParlinoProcess::ReadOutput() {
  output_ += process_.readAllStandardError().toStdString();
  for (std::size_t end; (end = output_.find('\n', parsed_)) != std::string::npos;
       parsed_ = end + 1) {
    const std::string line = output_.substr(parsed_, end - parsed_);
    if (line.starts_with("word: ")) {
      words_.push_back(line.substr(6));
      endedAfterLastWord_ = false;
    } else if (line == "end of speech") {
      endedAfterLastWord_ = true;
      ++ends_;
    }
  }
}

}  // namespace parlino::testing
