// The Linux profile store on the INI cases it shares with the Windows profile functions.
#include <gtest/gtest.h>

#include "platform/linux/ini_profile_store.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/ini_cases.h"

namespace parlino {
namespace {

using platform::linux_impl::IniProfileStore;
using testing::IniReadCase;
using testing::IniWriteCase;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class SharedIniReadTest : public ::testing::TestWithParam<IniReadCase> {};

TEST_P(SharedIniReadTest, ReadsAsTheWindowsProfileFunctionsDo) {
  TempDir dir;
  WriteBytes(dir / "a.ini", GetParam().file);
  EXPECT_EQ(IniProfileStore().Read(dir / "a.ini", GetParam().section, GetParam().key),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Shared, SharedIniReadTest,
                         ::testing::ValuesIn(testing::SharedIniReadCases()),
                         [](const auto& param) { return std::string(param.param.name); });

class SharedIniWriteTest : public ::testing::TestWithParam<IniWriteCase> {};

TEST_P(SharedIniWriteTest, WritesTheFileAsTheWindowsProfileFunctionsDo) {
  TempDir dir;
  if (!GetParam().before.empty()) WriteBytes(dir / "a.ini", GetParam().before);
  IniProfileStore().Write(dir / "a.ini", GetParam().section, GetParam().key, GetParam().value);
  EXPECT_EQ(ReadBytes(dir / "a.ini"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Shared, SharedIniWriteTest,
                         ::testing::ValuesIn(testing::SharedIniWriteCases()),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace parlino
