#pragma once
// Runs a piece of a test in a child process as an ordinary user, since root may write anything:
// the permission cases need someone the file system says no to.
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace parlino::testing {

// The user the permission cases run as: "nobody" when the tests run as root, else the tester.
uid_t TestUser();
gid_t TestGroup();

// Gives `path` (and, with `recursive`, everything below it) to TestUser.
void GiveToTestUser(const std::filesystem::path& path, bool recursive = false);

// Runs `work` in a child process as TestUser with the umask `mask`; returns what `work` returned,
// or a text saying how the child failed.
std::string RunAsTestUser(mode_t mask, const std::function<std::string()>& work);

// While it lives, the calling thread opens files as TestUser (its file-system ids only), so that a
// test whose work cannot leave the process meets the checks an ordinary user meets. Other threads
// keep their rights.
class FileAccessAsTestUser {
 public:
  FileAccessAsTestUser();
  ~FileAccessAsTestUser();
  FileAccessAsTestUser(const FileAccessAsTestUser&) = delete;
  FileAccessAsTestUser& operator=(const FileAccessAsTestUser&) = delete;

 private:
  uid_t uid_;
  gid_t gid_;
};

// How a test lays out a data file: `dir`/data/`name`, as a link to `dir`/store/real.ini, with a
// second name `dir`/data/other.ini, or with a folder in its place.
enum class Layout { Plain, Symlink, HardLink, Folder };

// Lays the file out with `before` as its bytes (none: no file) and `fileMode`, gives everything
// below `dir` to TestUser and sets the mode of the folder that holds the bytes. Returns the path
// of that file: the link's target for a symlink, else `dir`/data/`name`.
std::filesystem::path LayOutFile(const std::filesystem::path& dir, const std::string& name,
                                 Layout layout, const std::optional<std::string>& before,
                                 mode_t fileMode, mode_t folderMode);

// The permission bits of `path`, 0 when it cannot be seen.
mode_t ModeOf(const std::filesystem::path& path);

}  // namespace parlino::testing
