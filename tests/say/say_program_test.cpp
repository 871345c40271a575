// Runs the parlino-say program itself, with its audio going to a file through SDL's disk driver.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/fakes/temp_dir.h"

namespace {

using parlino::testing::TempDir;

struct SayRun {
  int status;
  std::string output;  // standard output and error
};

SayRun RunSay(const TempDir& dir, const std::string& arguments, const std::string& input = "") {
  const std::string command =
      "printf '%s' '" + input + "' | SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" +
      (dir / "say.raw").string() + "' " PARLINO_SAY " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  SayRun run{-1, ""};
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    run.output.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::size_t SoundingSamples(const TempDir& dir) {
  const std::string bytes = parlino::testing::ReadBytes(dir / "say.raw");
  std::size_t count = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto sample = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]) |
                                                  static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (sample > 300 || sample < -300) ++count;
  }
  return count;
}

TEST(SayProgramTest, SpeaksItsArgumentsOrItsInputAndExits) {
  TempDir dir;
  const SayRun spoken = RunSay(dir, "--voice 'english (america)' --rate 3 --pitch 2 hello world");
  EXPECT_EQ(spoken.status, 0) << spoken.output;
  const std::size_t words = SoundingSamples(dir);
  EXPECT_GT(words, 4000u);
  const SayRun fromInput = RunSay(dir, "--volume 100", "hello world, read from the input");
  EXPECT_EQ(fromInput.status, 0) << fromInput.output;
  EXPECT_GT(SoundingSamples(dir), words);
}

TEST(SayProgramTest, ListsBothGenerationsAndSpeaksWithALegacyVoice) {
  TempDir dir;
  const SayRun run = RunSay(dir, "--list-voices");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.output.starts_with("Flite kal\nFlite kal16\nFlite awb\nFlite rms\nFlite slt\n"))
      << run.output;
  EXPECT_NE(run.output.find("\nEnglish (Great Britain) (SAPI5)\n"), std::string::npos)
      << run.output;

  const SayRun legacy =
      RunSay(dir, "--voice 'flite slt' --rate 5 --pitch -3 --volume 80", "hello world");
  EXPECT_EQ(legacy.status, 0) << legacy.output;
  EXPECT_GT(SoundingSamples(dir), 4000u);
}

TEST(SayProgramTest, FailsClearlyOnBadOptionsAndUnknownVoices) {
  TempDir dir;
  const SayRun bad = RunSay(dir, "--rate 20 hi");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.output.find("--rate needs a whole number from -10 to 10"), std::string::npos);
  const SayRun unknown = RunSay(dir, "--voice Nobody hi");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.output.find("unknown voice \"Nobody\""), std::string::npos) << unknown.output;
  const SayRun help = RunSay(dir, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("--list-voices"), std::string::npos);
}

}  // namespace
