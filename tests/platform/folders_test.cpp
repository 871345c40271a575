#include "platform/linux/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/fakes/temp_dir.h"
#include "tests/platform/as_user.h"

namespace parlino {
namespace {

namespace fs = std::filesystem;
using platform::linux_impl::ConfigHome;
using platform::linux_impl::DataFolderProblem;

// Sets or clears environment variables for one test and puts them back afterwards.
class Environment {
 public:
  ~Environment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }
  void Set(const std::string& name, const char* value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      setenv(name.c_str(), value, 1);
    } else {
      unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(Folders, ConfigHomeComesFromTheEnvironmentOrTheUserDatabase) {
  Environment environment;
  environment.Set("XDG_CONFIG_HOME", "/somewhere/config");
  EXPECT_EQ(ConfigHome(), "/somewhere/config");
  environment.Set("XDG_CONFIG_HOME", "relative/config");  // not absolute: ignored
  environment.Set("HOME", "/home/someone");
  EXPECT_EQ(ConfigHome(), "/home/someone/.config");

  // An empty environment: the user database's home folder, never /tmp.
  environment.Set("XDG_CONFIG_HOME", nullptr);
  environment.Set("HOME", nullptr);
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(ConfigHome(), fs::path(user->pw_dir) / ".config");
}

TEST(Folders, DataFolderMustBeTheUsersAndClosedToOthers) {
  testing::TempDir dir;
  fs::create_directory(dir / "mine");
  chmod((dir / "mine").c_str(), 0700);
  EXPECT_EQ(DataFolderProblem(dir / "mine"), std::nullopt);

  fs::create_directory(dir / "open");
  chmod((dir / "open").c_str(), 0777);
  const auto open = DataFolderProblem(dir / "open");
  ASSERT_TRUE(open.has_value());
  EXPECT_NE(open->find("other users may change that folder"), std::string::npos) << *open;

  EXPECT_NE(DataFolderProblem("relative/Parlino"), std::nullopt);
  EXPECT_NE(DataFolderProblem(dir / "missing"), std::nullopt);

  if (getuid() == 0) {
    fs::create_directory(dir / "theirs");
    testing::GiveToTestUser(dir / "theirs");
    const auto theirs = DataFolderProblem(dir / "theirs");
    ASSERT_TRUE(theirs.has_value());
    EXPECT_NE(theirs->find("belongs to another user"), std::string::npos) << *theirs;
  }
}

// The install's layout (bin/parlino, share/parlino) and what happens when the data is missing.
TEST(Folders, ProgramDataFolderIsTheInstallsDataFolderWhenItExists) {
  struct Case {
    const char* made;      // what exists besides bin/ ("" for nothing, a trailing / for a folder)
    const char* expected;  // relative to the temporary prefix
  };
  const Case cases[] = {
      {"share/parlino/", "share/parlino"},
      {"", "bin"},
      {"share/parlino", "bin"},  // a file of that name is no data folder
  };
  for (const Case& c : cases) {
    testing::TempDir prefix;
    std::filesystem::create_directories(prefix / "bin");
    const std::string made = c.made;
    if (made.ends_with('/')) {
      std::filesystem::create_directories(prefix / made);
    } else if (!made.empty()) {
      std::filesystem::create_directories((prefix / made).parent_path());
      testing::WriteBytes(prefix / made, "x");
    }
    EXPECT_EQ(platform::linux_impl::ProgramDataFolder(prefix / "bin/parlino", "../share/parlino"),
              prefix / c.expected)
        << "with " << (made.empty() ? "nothing" : made);
  }
}

TEST(Folders, TheRunningProgramIsThisTestProgram) {
  EXPECT_EQ(platform::linux_impl::ProgramFile().filename(), "platform_tests");
}

}  // namespace
}  // namespace parlino
