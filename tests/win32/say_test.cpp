// parlino-say.exe under Wine, whose SAPI 5 cannot list voices.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win32/win32_test_support.h"

namespace parlino {
namespace {

std::wstring SayProgram() {
  const std::string path = PARLINO_SAY;
  return L"\"" + std::wstring(path.begin(), path.end()) + L"\"";
}

TEST(ParlinoSay, SaysClearlyThatTheVoicesAreNotAvailable) {
  const testing::ProgramRun run = testing::RunProgram(SayProgram() + L" --list-voices");
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(run.errorOutput.rfind("parlino-say: the SAPI 5 voices are not available: ", 0), 0u)
      << run.errorOutput;
}

TEST(ParlinoSay, AWrongCommandLineIsExplained) {
  const testing::ProgramRun run = testing::RunProgram(SayProgram() + L" --rate 11 hello");
  EXPECT_EQ(run.exitCode, 2u);
  EXPECT_NE(run.errorOutput.find("Try 'parlino-say --help'."), std::string::npos)
      << run.errorOutput;
}

}  // namespace
}  // namespace parlino
