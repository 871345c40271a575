#include "voices/download_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/text_file.h"

namespace parlino::voices {
namespace {

// Temporary files are named "<installer's name>" + kPartMark + six letters or digits.
constexpr std::string_view kPartMark = ".parlino-part-";
constexpr std::size_t kSuffixLength = 6;
constexpr std::string_view kSuffixCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// Blocks arrive a few kilobytes at a time; the disk gets them in pieces of this size.
constexpr std::size_t kWriteSize = 256 * 1024;

bool IsPartName(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kSuffixLength || !name.starts_with(prefix)) return false;
  return name.find_first_not_of(kSuffixCharacters, prefix.size()) == std::string::npos;
}

}  // namespace

DownloadFile::DownloadFile(std::filesystem::path target) : target_(std::move(target)) {
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, kSuffixCharacters.size() - 1);
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = target_.string();
    temporary_ += kPartMark;
    for (std::size_t i = 0; i < kSuffixLength; ++i) temporary_ += kSuffixCharacters[pick(random)];
    // Exclusive and not through a link: the file is a new one of this program's own.
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) throw platform::FileError(true, target_, errno);
  buffer_.reserve(kWriteSize);
}

DownloadFile::~DownloadFile() {
  Discard();
}

void DownloadFile::Append(std::string_view bytes) {
  if (fd_ < 0) throw platform::FileError(true, target_, EBADF);
  size_ += bytes.size();
  buffer_.append(bytes);
  if (buffer_.size() >= kWriteSize) Flush();
}

void DownloadFile::Flush() {
  for (std::size_t done = 0; done < buffer_.size();) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(n == 0 ? EIO : errno);
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
}

void DownloadFile::Complete() {
  if (fd_ < 0) throw platform::FileError(true, target_, EBADF);
  Flush();
  // Synced first, so that a crash after the rename cannot leave a short file under the name.
  if (::fsync(fd_) != 0) Fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) Fail(errno);
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  temporary_.clear();
  // The rename is on disk once the folder is; a failure here loses nothing.
  const int folder = ::open(target_.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

void DownloadFile::Fail(int error) {
  Discard();
  throw platform::FileError(true, target_, error);
}

void DownloadFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

void DownloadFile::RemoveLeftovers(const std::filesystem::path& target) {
  const std::string prefix = target.filename().string() + std::string(kPartMark);
  std::error_code error;
  for (std::filesystem::directory_iterator entry(target.parent_path(), error), end;
       !error && entry != end; entry.increment(error)) {
    const std::filesystem::path& path = entry->path();
    struct stat status {};
    if (IsPartName(path.filename().string(), prefix) && ::lstat(path.c_str(), &status) == 0 &&
        S_ISREG(status.st_mode) && status.st_uid == ::geteuid()) {
      ::unlink(path.c_str());
    }
  }
}

}  // namespace parlino::voices
