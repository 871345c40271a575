// Reading and safely replacing whole files on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/platform_error.h"
#include "platform/text_file.h"

namespace parlino::platform {
namespace {

// Temporary files are named "<file name>" + kTemporaryMark + six letters or digits.
constexpr std::string_view kTemporaryMark = ".parlino-new-";
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr std::string_view kSuffixCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

[[noreturn]] void Fail(bool writing, const std::filesystem::path& path, int error,
                       const std::string& reason = {}) {
  throw FileError(writing, path, error, reason);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the data reached the file system.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes, off_t offset) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The file a chain of symbolic links ends at (which need not exist); the path itself when it is
// no link.
std::filesystem::path FinalTarget(const std::filesystem::path& path) {
  std::filesystem::path current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    std::error_code error;
    const std::filesystem::path next = std::filesystem::read_symlink(current, error);
    if (error) Fail(true, path, error.value());
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  Fail(true, path, ELOOP);
}

// A new file beside `target` that no one else has, with the mode 0666 less the umask.
int CreateTemporary(const std::filesystem::path& target, std::string& name) {
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, kSuffixCharacters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target.string();
    name += kTemporaryMark;
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i)
      name += kSuffixCharacters[pick(random)];
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

void SyncFolder(const std::filesystem::path& folder) {
  // The rename itself is on disk only once the folder is; a failure here loses nothing.
  const FileDescriptor fd(
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() >= 0) ::fsync(fd.get());
}

// Rewrites the file where it is: the only way to keep its other hard links, or to write it in a
// folder where no new file can be made. Its new size is reserved before a byte changes.
void ReplaceInPlace(const std::filesystem::path& path, const std::filesystem::path& target,
                    std::string_view bytes, const struct stat& status) {
  FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) Fail(true, path, errno);
  const auto size = static_cast<off_t>(bytes.size());
  if (size > status.st_size) {
    const int reserved = ::posix_fallocate(fd.get(), 0, size);
    // File systems without reservations go on; a full disk stops here, with the file unchanged.
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) Fail(true, path, reserved);
  }
  if (!WriteAll(fd.get(), bytes, 0) || ::ftruncate(fd.get(), size) != 0 || ::fsync(fd.get()) != 0 ||
      !fd.Close()) {
    Fail(true, path, errno);
  }
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
  // Not blocking: a named pipe in the file's place must not hang the program.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    Fail(false, path, errno);
  }
  struct stat status {};
  if (::fstat(fd.get(), &status) != 0) Fail(false, path, errno);
  if (S_ISDIR(status.st_mode)) Fail(false, path, EISDIR);
  if (!S_ISREG(status.st_mode)) Fail(false, path, EINVAL, "it is not an ordinary file");

  // One byte more than the file holds, so that the read that finds the end needs no larger copy.
  std::string bytes(static_cast<std::size_t>(status.st_size) + 1, '\0');
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) bytes.resize(bytes.size() + 65536);  // the file has grown
    const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(false, path, errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path target = FinalTarget(path);
  struct stat status {};
  const bool exists = ::stat(target.c_str(), &status) == 0;
  if (!exists && errno != ENOENT) Fail(true, path, errno);
  if (exists) {
    if (S_ISDIR(status.st_mode)) Fail(true, path, EISDIR);
    if (!S_ISREG(status.st_mode)) Fail(true, path, EINVAL, "it is not an ordinary file");
    // A file without write permission is read-only, even for an administrator.
    const bool ownerMayWrite = status.st_uid != ::geteuid() || (status.st_mode & S_IWUSR) != 0;
    if ((status.st_mode & 0222) == 0 || !ownerMayWrite) Fail(true, path, EACCES, "it is read-only");
    if (::access(target.c_str(), W_OK) != 0) Fail(true, path, errno);
    if (status.st_nlink > 1) return ReplaceInPlace(path, target, bytes, status);
  }

  std::string temporary;
  FileDescriptor fd(CreateTemporary(target, temporary));
  if (fd.get() < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM)) {
      return ReplaceInPlace(path, target, bytes, status);
    }
    Fail(true, path, error);
  }
  const auto discard = [&](int error) {
    fd.Close();
    ::unlink(temporary.c_str());
    Fail(true, path, error);
  };
  if (exists) {
    if (::fchmod(fd.get(), status.st_mode & 07777) != 0) discard(errno);
    struct stat made {};
    if (::fstat(fd.get(), &made) != 0) discard(errno);
    if ((made.st_uid != status.st_uid || made.st_gid != status.st_gid) &&
        ::fchown(fd.get(), status.st_uid, status.st_gid) != 0) {
      // A file of another owner that this user may write keeps its owner only in place.
      fd.Close();
      ::unlink(temporary.c_str());
      return ReplaceInPlace(path, target, bytes, status);
    }
  }
  if (!WriteAll(fd.get(), bytes, 0) || ::fsync(fd.get()) != 0) discard(errno);
  if (!fd.Close()) discard(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) discard(errno);
  SyncFolder(target.parent_path());
}

void RemoveLeftoverTemporaries(const std::filesystem::path& path) {
  std::filesystem::path target;
  try {
    target = FinalTarget(path);
  } catch (const PlatformError&) {
    return;  // a path that cannot be followed has no leftovers that are surely ours
  }
  const std::string prefix = target.filename().string() + std::string(kTemporaryMark);
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix) || name.size() != prefix.size() + kTemporarySuffixLength ||
        name.substr(prefix.size()).find_first_not_of(kSuffixCharacters) != std::string_view::npos) {
      continue;
    }
    // Only ordinary files of this user: never a link, a folder or someone else's file.
    struct stat status {};
    const std::filesystem::path file = folder / std::string(name);
    if (::lstat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        status.st_uid == ::geteuid()) {
      ::unlink(file.c_str());
    }
  }
  ::closedir(listing);
}

}  // namespace parlino::platform
