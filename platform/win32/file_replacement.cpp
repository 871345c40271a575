// Reading and safely replacing whole files on Windows. rename() cannot replace a file here: the
// new file is swapped in with ReplaceFileW (which keeps the old one's attributes and security),
// or moved into place with MoveFileExW when there was none.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <utility>

#include "platform/platform_error.h"
#include "platform/text_file.h"
#include "platform/win32/win32_text.h"

namespace parlino::platform {
namespace {

// Temporary files are named "<file name>" + kTemporaryMark + six letters or digits.
constexpr std::wstring_view kTemporaryMark = L".parlino-new-";
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr std::wstring_view kSuffixCharacters =
    L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The old file's attributes that the new one takes over. ReplaceFileW does that as well, but not
// every implementation of it (Wine's does not); read-only is not among them, as such a file is
// refused.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A Windows error as the file error the rest of the program knows: the same words as on Linux
// where there is such an error there, the system's own text otherwise.
[[noreturn]] void Fail(bool writing, const std::filesystem::path& path, DWORD error,
                       std::string reason = {}) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      throw FileError(writing, path, EACCES, std::move(reason));
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      throw FileError(writing, path, ENOSPC, std::move(reason));
    case ERROR_WRITE_PROTECT:
      throw FileError(writing, path, EROFS, std::move(reason));
    case ERROR_PATH_NOT_FOUND:
      throw FileError(writing, path, ENOENT, std::move(reason));
    case ERROR_FILENAME_EXCED_RANGE:
      throw FileError(writing, path, ENAMETOOLONG, std::move(reason));
    default:
      break;
  }
  if (reason.empty()) {
    reason = win32_impl::ErrorText(error);
    if (!reason.empty() && reason.back() == '.') reason.pop_back();
    if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z') reason[0] += 'a' - 'A';
  }
  throw FileError(writing, path, static_cast<int>(error), std::move(reason));
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now and reports whether that worked.
  bool Close() {
    const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
    return handle == INVALID_HANDLE_VALUE || CloseHandle(handle);
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, std::string_view bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    done += written;
  }
  return true;
}

// The file a path ends at once links and junctions are followed (which need not exist yet, in
// which case it is the path itself).
std::filesystem::path FinalTarget(const std::filesystem::path& path) {
  const FileHandle file(CreateFileW(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return path;
  std::wstring target(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetFinalPathNameByHandleW(file.get(), target.data(), static_cast<DWORD>(target.size()), 0);
    if (length == 0) return path;
    if (length < target.size()) {
      target.resize(length);
      break;
    }
    target.resize(length + 1);
  }
  // The system names it with the \\?\ prefix of long paths, which every call here accepts.
  return target;
}

// A new file beside `target` that no one else has.
HANDLE CreateTemporary(const std::filesystem::path& target, std::wstring& name) {
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, kSuffixCharacters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target.native();
    name += kTemporaryMark;
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i)
      name += kSuffixCharacters[pick(random)];
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// Rewrites the file where it is: the only way to keep its other hard links, or to write it in a
// folder where no new file can be made. Its new size is reserved before a byte changes.
void ReplaceInPlace(const std::filesystem::path& path, const std::filesystem::path& target,
                    std::string_view bytes) {
  FileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) Fail(true, path, GetLastError());
  LARGE_INTEGER size{};
  size.QuadPart = static_cast<LONGLONG>(bytes.size());
  LARGE_INTEGER old{};
  GetFileSizeEx(file.get(), &old);
  // A full disk stops here, with the file unchanged.
  if (size.QuadPart > old.QuadPart &&
      (!SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))) {
    Fail(true, path, GetLastError());
  }
  const LARGE_INTEGER start{};
  if (!SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) || !WriteAll(file.get(), bytes) ||
      !SetEndOfFile(file.get()) || !FlushFileBuffers(file.get()) || !file.Close()) {
    Fail(true, path, GetLastError());
  }
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    Fail(false, path, error);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw FileError(false, path, EISDIR);
  const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;  // a link to nowhere
    Fail(false, path, error);
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) {
    throw FileError(false, path, EINVAL, "it is not an ordinary file");
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr))
      Fail(false, path, GetLastError());
    if (read == 0) break;
    bytes.append(buffer, read);
  }
  return bytes;
}

void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path target = FinalTarget(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) Fail(true, path, GetLastError());
  if (exists) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) throw FileError(true, path, EISDIR);
    if (attributes & FILE_ATTRIBUTE_READONLY)
      throw FileError(true, path, EACCES, "it is read-only");
    // A file that other hard links share keeps them only when it is written in place.
    const FileHandle probe(CreateFileW(target.c_str(), 0,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (probe.valid() && GetFileInformationByHandle(probe.get(), &information) &&
        information.nNumberOfLinks > 1) {
      return ReplaceInPlace(path, target, bytes);
    }
  }

  std::wstring temporary;
  FileHandle file(CreateTemporary(target, temporary));
  if (!file.valid()) {
    const DWORD error = GetLastError();
    if (exists && error == ERROR_ACCESS_DENIED) return ReplaceInPlace(path, target, bytes);
    Fail(true, path, error);
  }
  const auto discard = [&](DWORD error) {
    file.Close();
    DeleteFileW(temporary.c_str());
    Fail(true, path, error);
  };
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) discard(GetLastError());
  if (!file.Close()) discard(GetLastError());
  if (exists) SetFileAttributesW(temporary.c_str(), attributes & kKeptAttributes);
  const bool replaced =
      exists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
             : MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!replaced) discard(GetLastError());
}

void RemoveLeftoverTemporaries(const std::filesystem::path& path) {
  const std::filesystem::path target = FinalTarget(path);
  const std::wstring prefix = target.filename().native() + std::wstring(kTemporaryMark);
  const std::filesystem::path folder = target.parent_path();
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder / (prefix + L"*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring_view name = found.cFileName;
    if (name.size() != prefix.size() + kTemporarySuffixLength ||
        name.substr(prefix.size()).find_first_not_of(kSuffixCharacters) !=
            std::wstring_view::npos) {
      continue;
    }
    // Only ordinary files: never a link or a folder.
    if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
      continue;
    DeleteFileW((folder / std::wstring(name)).c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace parlino::platform
