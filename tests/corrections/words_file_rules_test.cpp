// words.ini on disk as an ordinary user meets it (root may write anything): written through links
// and with its mode kept, refused when it may not be written, reported when it cannot be read, and
// in every failure left as it was.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "corrections/words_file.h"
#include "platform/linux/utf8_code_page.h"
#include "platform/platform_error.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/as_user.h"

namespace parlino::corrections {
namespace {

namespace fs = std::filesystem;
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
  std::string read;   // "rows N", "nothing", or a part of the read error
  std::string write;  // "written", or a part of the write error
  std::string after;  // the file's bytes afterwards
  mode_t afterMode;
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << c.name;
}

const std::string kOld = "Dr###***###Doctor###***###Yes\r\n";
const std::string kNew = "Mr###***###Mister###***###No\r\n";

class WordsFileRules : public ::testing::TestWithParam<FileCase> {};

// Reads the file, then writes one row in its place, as the user named by the test.
TEST_P(WordsFileRules, ReadAndWriteAsTheUser) {
  const FileCase& c = GetParam();
  TempDir dir;
  const fs::path words = dir / "data" / "words.ini";
  const fs::path target =
      testing::LayOutFile(dir.path(), "words.ini", c.layout, c.before, c.fileMode, c.folderMode);

  const std::string outcome = testing::RunAsTestUser(c.umask, [&] {
    const platform::linux_impl::Utf8CodePage page;
    std::string result;
    try {
      const auto rows = ReadWordsFile(words, page);
      result = rows ? "rows " + std::to_string(rows->size()) : "nothing";
    } catch (const PlatformError& error) {
      result = error.what();
    }
    try {
      WriteWordsFile(words, {{u"Mr", u"Mister", u"No"}}, page);
      result += "; written";
    } catch (const PlatformError& error) {
      result += std::string("; ") + error.what();
    }
    return result;
  });
  chmod(target.parent_path().c_str(), 0755);

  const std::size_t split = outcome.find("; ");
  ASSERT_NE(split, std::string::npos) << outcome;
  const std::string read = outcome.substr(0, split);
  const std::string written = outcome.substr(split + 2);
  EXPECT_NE(read.find(c.read), std::string::npos) << read;
  if (c.write == "written") {
    EXPECT_EQ(written, "written");
  } else {
    // A refusal names the file and the reason.
    EXPECT_TRUE(written.starts_with("Cannot save \"" + words.string() + "\": ")) << written;
    EXPECT_NE(written.find(c.write), std::string::npos) << written;
  }
  if (c.layout != Layout::Folder) {
    EXPECT_EQ(ReadBytes(target), c.after);
    EXPECT_EQ(ModeOf(target), c.afterMode);
  }
  if (c.layout == Layout::Symlink) {
    EXPECT_TRUE(fs::is_symlink(words));
  }
  if (c.layout == Layout::HardLink) {
    EXPECT_EQ(ReadBytes(dir / "data" / "other.ini"), c.after);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordsFileRules,
    ::testing::Values(FileCase{"plain_file_keeps_its_mode", Layout::Plain, kOld, 0640, 0755, 022,
                               "rows 1", "written", kNew, 0640},
                      FileCase{"symlink_writes_its_target", Layout::Symlink, kOld, 0644, 0755, 022,
                               "rows 1", "written", kNew, 0644},
                      FileCase{"hard_link_stays_one_file", Layout::HardLink, kOld, 0600, 0755, 022,
                               "rows 1", "written", kNew, 0600},
                      FileCase{"new_file_under_umask_077", Layout::Plain, std::nullopt, 0, 0755,
                               077, "nothing", "written", kNew, 0600},
                      FileCase{"read_only_file_is_left_alone", Layout::Plain, kOld, 0444, 0755, 022,
                               "rows 1", "it is read-only", kOld, 0444},
                      FileCase{"unreadable_file_is_reported_and_kept", Layout::Plain, kOld, 0000,
                               0755, 022, "you do not have permission to read it",
                               "it is read-only", kOld, 0000},
                      FileCase{"read_only_folder_is_written_in_place", Layout::Plain, kOld, 0644,
                               0555, 022, "rows 1", "written", kNew, 0644},
                      FileCase{"folder_in_the_files_place", Layout::Folder, std::nullopt, 0, 0755,
                               022, "it is a folder, not a file", "it is a folder, not a file", "",
                               0}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace parlino::corrections
