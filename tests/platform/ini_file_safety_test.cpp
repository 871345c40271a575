// What a write does to the file on disk: which bytes change, which mode it ends with, through
// links and permissions, and that a crash at any moment leaves the old file or the new one.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "app/settings/data_files.h"
#include "app/settings/tidy_ini_file.h"
#include "platform/linux/ini_profile_store.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/as_user.h"

namespace parlino {
namespace {

namespace fs = std::filesystem;
using platform::linux_impl::IniProfileStore;
using testing::Layout;
using testing::ModeOf;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct FileCase {
  const char* name;
  Layout layout;
  std::optional<std::string> before;  // nothing: no file
  mode_t fileMode;
  mode_t folderMode;  // of the folder the file lies in
  mode_t umask;
  std::u16string key;  // read, then written with `value`, in section [S]
  std::u16string value;
  std::optional<std::u16string> read;  // what the read gives
  std::string error;                   // empty: the write succeeds; else a part of its message
  std::string after;                   // the file's bytes afterwards
  mode_t afterMode;
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << c.name;
}

class StoreFileCases : public ::testing::TestWithParam<FileCase> {};

// Each case runs as an ordinary user (root may write anything), with the file's bytes and mode
// checked before and after.
TEST_P(StoreFileCases, WriteEditsTheFileLikeTheProfileApi) {
  const FileCase& c = GetParam();
  TempDir dir;
  const fs::path data = dir / "data";
  const fs::path cfg = data / "cfg.ini";
  const fs::path target =
      testing::LayOutFile(dir.path(), "cfg.ini", c.layout, c.before, c.fileMode, c.folderMode);
  const fs::path folder = target.parent_path();
  if (c.before) {
    ASSERT_EQ(ReadBytes(target), *c.before);
    ASSERT_EQ(ModeOf(target), c.fileMode);
  }

  const std::string outcome = testing::RunAsTestUser(c.umask, [&] {
    IniProfileStore profiles;
    const auto read = profiles.Read(cfg, u"S", c.key);
    std::string result = read ? "read " + ToUtf8(*read) : "read nothing";
    try {
      profiles.Write(cfg, u"S", c.key, c.value);
      result += "; written";
    } catch (const PlatformError& error) {
      result += std::string("; ") + error.what();
    }
    return result;
  });
  chmod(folder.c_str(), 0755);  // so that root's checks and the clean-up see everything

  const std::string read = c.read ? "read " + ToUtf8(*c.read) : "read nothing";
  if (c.error.empty()) {
    EXPECT_EQ(outcome, read + "; written");
  } else {
    EXPECT_TRUE(outcome.starts_with(read + "; Cannot save \"" + cfg.string() + "\": ")) << outcome;
    EXPECT_NE(outcome.find(c.error), std::string::npos) << outcome;
  }
  if (c.layout != Layout::Folder) {
    EXPECT_EQ(ReadBytes(target), c.after);
    EXPECT_EQ(ModeOf(target), c.afterMode);
  }
  if (c.layout == Layout::Symlink) {
    EXPECT_TRUE(fs::is_symlink(cfg));
  }
  if (c.layout == Layout::HardLink) {
    EXPECT_EQ(fs::hard_link_count(cfg), 2u);
    EXPECT_EQ(ReadBytes(data / "other.ini"), c.after);
  }
  // Nothing is left beside the file.
  std::size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(folder)) entries += entry.exists() ? 1 : 0;
  const bool fileThere = c.layout == Layout::Folder || c.before || c.error.empty();
  EXPECT_EQ(entries, c.layout == Layout::HardLink ? 2u : (fileThere ? 1u : 0u));
}

const std::string kWindowsFile =  // made on Windows: code page 1252, CR LF
    "[General]\r\nFirstRun=0\r\n[S]\r\nnote=caf\xE9 cr\xE8me\r\nk=1\r\n"
    "[Other program]\r\nname=J\xFCrgen M\xFCller \x80 5\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, StoreFileCases,
    ::testing::Values(
        FileCase{"symlink_writes_its_target", Layout::Symlink, "[S]\r\nk=1\r\n", 0640, 0755, 022,
                 u"k", u"2", u"1", "", "[S]\r\nk=2\r\n", 0640},
        FileCase{"read_only_file_is_left_alone", Layout::Plain, "[S]\r\nk=1\r\n", 0444, 0755, 022,
                 u"k", u"2", u"1", "it is read-only", "[S]\r\nk=1\r\n", 0444},
        FileCase{"read_only_folder_is_written_in_place", Layout::Plain, "[S]\r\nk=1\r\n", 0644,
                 0555, 022, u"k", u"2", u"1", "", "[S]\r\nk=2\r\n", 0644},
        FileCase{"hard_link_stays_one_file", Layout::HardLink, "[S]\r\nk=1\r\n", 0600, 0755, 022,
                 u"k", u"22", u"1", "", "[S]\r\nk=22\r\n", 0600},
        FileCase{"unreadable_file_is_never_replaced", Layout::Plain, "[S]\r\nk=1\r\nkeep=me\r\n",
                 0000, 0755, 022, u"k", u"2", std::nullopt, "you do not have permission to read it",
                 "[S]\r\nk=1\r\nkeep=me\r\n", 0000},
        FileCase{"new_file_under_umask_077", Layout::Plain, std::nullopt, 0, 0755, 077, u"k", u"2",
                 std::nullopt, "", "[S]\r\nk=2\r\n", 0600},
        FileCase{"existing_file_keeps_its_mode_under_umask_077", Layout::Plain, "[S]\r\nk=1\r\n",
                 0664, 0755, 077, u"k", u"2", u"1", "", "[S]\r\nk=2\r\n", 0664},
        FileCase{"invalid_utf8_lines_keep_their_bytes", Layout::Plain,
                 "\xFF\xFF[x]\r\n[S]\r\nbad=\xC3\x28\xE2\x82\r\nk=1\r\n\xED\xA0\x80=z\n", 0644,
                 0755, 022, u"k", u"\u00E9", u"1", "",
                 "\xFF\xFF[x]\r\n[S]\r\nbad=\xC3\x28\xE2\x82\r\nk=\xC3\xA9\r\n\xED\xA0\x80=z\n",
                 0644},
        FileCase{"cp1252_file_round_trip", Layout::Plain, kWindowsFile, 0644, 0755, 022, u"note",
                 u"caf\uFFFD cr\uFFFDme", u"caf\uFFFD cr\uFFFDme", "", kWindowsFile, 0644},
        FileCase{"cp1252_file_other_key", Layout::Plain, kWindowsFile, 0644, 0755, 022, u"k", u"2",
                 u"1", "",
                 "[General]\r\nFirstRun=0\r\n[S]\r\nnote=caf\xE9 cr\xE8me\r\nk=2\r\n"
                 "[Other program]\r\nname=J\xFCrgen M\xFCller \x80 5\r\n",
                 0644},
        FileCase{"vertical_tab_is_a_blank", Layout::Plain, "\v[S]\v\r\n\vk\v=\v1\v\r\n", 0644, 0755,
                 022, u"k", u"0", u"1", "", "\v[S]\v\r\nk=0\r\n", 0644},
        FileCase{"folder_in_the_files_place", Layout::Folder, std::nullopt, 0, 0755, 022, u"k",
                 u"2", std::nullopt, "it is a folder, not a file", "", 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(StoreFiles, LoadAndSaveReadOnceAndWriteOnce) {
  TempDir dir;
  const fs::path cfg = dir / "cfg.ini";
  WriteBytes(cfg, "[A]\r\nx=1\r\n");
  IniProfileStore profiles;
  auto file = profiles.Open(cfg);
  // What the file holds now no longer matters: the run works on what it read.
  WriteBytes(cfg, "[A]\r\nx=changed behind its back\r\n");
  EXPECT_EQ(file->Read(u"A", u"x"), u"1");
  file->Write(u"A", u"y", u"2");
  file->Write(u"B", u"z", u"3");
  EXPECT_EQ(file->Read(u"B", u"z"), u"3");  // its own writes it sees
  EXPECT_EQ(ReadBytes(cfg), "[A]\r\nx=changed behind its back\r\n");
  file->Commit(app::TidyIniLines);
  EXPECT_EQ(ReadBytes(cfg), "[A]\r\nx=1\r\ny=2\r\n\r\r\n[B]\r\nz=3\r\n");

  // A run that changes nothing writes nothing.
  const auto written = fs::last_write_time(cfg);
  fs::last_write_time(cfg, written - std::chrono::hours(1));
  auto again = profiles.Open(cfg);
  again->Write(u"A", u"x", u"1");
  again->Commit(app::TidyIniLines);
  EXPECT_EQ(fs::last_write_time(cfg), written - std::chrono::hours(1));
}

TEST(StoreFiles, NamedPipeInTheFilesPlaceDoesNotHang) {
  TempDir dir;
  ASSERT_EQ(mkfifo((dir / "cfg.ini").c_str(), 0600), 0);
  IniProfileStore profiles;
  EXPECT_EQ(profiles.Read(dir / "cfg.ini", u"S", u"k"), std::nullopt);
  EXPECT_THROW(profiles.Write(dir / "cfg.ini", u"S", u"k", u"1"), PlatformError);
}

TEST(StoreFiles, OnlyTheProgramsOwnLeftoversAreRemovedAtStart) {
  TempDir dir;
  const std::vector<std::string> leftovers = {"cfg.ini.parlino-new-a1B2c3",
                                              "slots.ini.parlino-new-zzzzzz"};
  const std::vector<std::string> foreign = {"cfg.ini.bak",
                                            "cfg.ini.parlino-new-toolong",
                                            "cfg.ini.parlino-new-a1B2c",
                                            "other.parlino-new-a1B2c3",
                                            "cfg.ini.parlino-new-a1_2c3",
                                            "cfg.ini"};
  for (const auto& name : leftovers) WriteBytes(dir / name, "x");
  for (const auto& name : foreign) WriteBytes(dir / name, "x");
  fs::create_directory(dir / "words.ini.parlino-new-folder");  // not a file: stays
  app::RemoveLeftoverTemporaryFiles(dir.path());
  for (const auto& name : leftovers) EXPECT_FALSE(fs::exists(dir / name)) << name;
  for (const auto& name : foreign) EXPECT_TRUE(fs::exists(dir / name)) << name;
  EXPECT_TRUE(fs::exists(dir / "words.ini.parlino-new-folder"));
}

// A save in a loop, killed at random moments: whatever survives is the old file or the new one.
TEST(StoreFiles, KillDuringSavesLeavesTheOldOrTheNewFile) {
  TempDir dir;
  const fs::path cfg = dir / "cfg.ini";
  std::string base = "[General]\r\nFirstRun=0\r\n";
  for (int section = 0; section < 2000; ++section) {
    base += "[Foreign_" + std::to_string(section) + "]\r\nkey=some value of another program\r\n";
  }
  const auto save = [&](const fs::path& path, int round) {
    IniProfileStore profiles;
    auto file = profiles.Open(path);
    for (int key = 0; key < 12; ++key) {
      file->Write(u"Speech", u"Key" + ToText(key), round % 2 == 0 ? u"old" : u"new");
    }
    file->Commit(app::TidyIniLines);
  };
  // The two contents a save can leave.
  std::string contents[2];
  for (int round = 0; round < 2; ++round) {
    WriteBytes(cfg, base);
    save(cfg, round);
    contents[round] = ReadBytes(cfg);
  }
  ASSERT_NE(contents[0], contents[1]);
  // How long a save takes in this build on this machine: the kills spread over that time.
  const auto started = std::chrono::steady_clock::now();
  for (int round = 0; round < 4; ++round) save(cfg, round);
  const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - started) /
                        4;
  WriteBytes(dir / "cfg.ini.bak", "the user's own");

  std::mt19937 random(20240601);
  int leftovers = 0;
  for (int attempt = 0; attempt < 200; ++attempt) {
    int progress[2];
    ASSERT_EQ(pipe(progress), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(progress[0]);
      for (int round = 0;; ++round) {
        save(cfg, round);
        if (write(progress[1], "s", 1) != 1) _exit(1);
      }
    }
    close(progress[1]);
    // Let it finish a save or two, then kill it somewhere in the next one.
    const int saves = std::uniform_int_distribution<int>(1, 2)(random);
    char byte;
    for (int n = 0; n < saves; ++n) ASSERT_EQ(read(progress[0], &byte, 1), 1);
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::microseconds(std::uniform_int_distribution<std::int64_t>(
                           0, std::max<std::int64_t>(saveTime.count() * 3 / 2, 1000))(random));
    while (std::chrono::steady_clock::now() < until) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(progress[0]);

    const std::string survived = ReadBytes(cfg);
    ASSERT_TRUE(survived == contents[0] || survived == contents[1]) << "after kill " << attempt;
    IniProfileStore profiles;
    ASSERT_EQ(profiles.Read(cfg, u"General", u"FirstRun"), u"0");

    // The next start removes what the killed save left, and nothing else.
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      leftovers += entry.path().filename().string().starts_with("cfg.ini.parlino-new-") ? 1 : 0;
    }
    app::RemoveLeftoverTemporaryFiles(dir.path());
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) files += entry.exists() ? 1 : 0;
    ASSERT_EQ(files, 2u);  // cfg.ini and cfg.ini.bak
  }
  // Some kills must have hit a save half-way, or the test showed nothing.
  EXPECT_GT(leftovers, 0);
  EXPECT_EQ(ReadBytes(dir / "cfg.ini.bak"), "the user's own");
}

}  // namespace
}  // namespace parlino
