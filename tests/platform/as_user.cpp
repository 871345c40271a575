#include "tests/platform/as_user.h"

#include <grp.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>

#include "tests/fakes/temp_dir.h"

namespace parlino::testing {
namespace {

constexpr uid_t kNobody = 65534;

}  // namespace

uid_t TestUser() {
  return geteuid() == 0 ? kNobody : geteuid();
}

gid_t TestGroup() {
  return geteuid() == 0 ? kNobody : getegid();
}

void GiveToTestUser(const std::filesystem::path& path, bool recursive) {
  if (geteuid() != 0) return;
  if (lchown(path.c_str(), TestUser(), TestGroup()) != 0) throw std::runtime_error("lchown");
  if (!recursive) return;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
    if (lchown(entry.path().c_str(), TestUser(), TestGroup()) != 0) {
      throw std::runtime_error("lchown");
    }
  }
}

// Leaving the file-system id 0 also drops the capabilities that pass over file modes.
FileAccessAsTestUser::FileAccessAsTestUser()
    : uid_(static_cast<uid_t>(setfsuid(static_cast<uid_t>(-1)))),
      gid_(static_cast<gid_t>(setfsgid(static_cast<gid_t>(-1)))) {
  setfsgid(TestGroup());
  setfsuid(TestUser());
}

FileAccessAsTestUser::~FileAccessAsTestUser() {
  setfsuid(uid_);
  setfsgid(gid_);
}

std::string RunAsTestUser(mode_t mask, const std::function<std::string()>& work) {
  int channel[2];
  if (pipe(channel) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child < 0) return "fork failed";
  if (child == 0) {
    close(channel[0]);
    std::string result;
    // The same steps as setpriv --reuid --regid --clear-groups.
    if (geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
         setresuid(kNobody, kNobody, kNobody) != 0)) {
      result = "cannot become the test user";
    } else {
      umask(mask);
      try {
        result = work();
      } catch (const std::exception& error) {
        result = std::string("exception: ") + error.what();
      }
    }
    const ssize_t written = write(channel[1], result.data(), result.size());
    _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
  }
  close(channel[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t n; (n = read(channel[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    result.append(buffer, static_cast<std::size_t>(n));
  }
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child failed: " + result;
  return result;
}

std::filesystem::path LayOutFile(const std::filesystem::path& dir, const std::string& name,
                                 Layout layout, const std::optional<std::string>& before,
                                 mode_t fileMode, mode_t folderMode) {
  namespace fs = std::filesystem;
  fs::permissions(dir, fs::perms(0755));
  const fs::path data = dir / "data";
  fs::create_directory(data);
  fs::create_directory(dir / "store");
  const fs::path file = data / name;
  const fs::path target = layout == Layout::Symlink ? dir / "store" / "real.ini" : file;
  if (layout == Layout::Folder) {
    fs::create_directory(file);
  } else if (before) {
    WriteBytes(target, *before);
    chmod(target.c_str(), fileMode);
  }
  if (layout == Layout::Symlink) fs::create_symlink("../store/real.ini", file);
  if (layout == Layout::HardLink) fs::create_hard_link(file, data / "other.ini");
  GiveToTestUser(dir, true);
  chmod(target.parent_path().c_str(), folderMode);
  return target;
}

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : 0;
}

}  // namespace parlino::testing
