#pragma once
// A download on its way to its file: the body goes into a temporary file beside the target,
// which takes the target's place only once the whole body is there. A file of the target's name
// is never touched before, and a broken download leaves nothing behind.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace parlino::voices {

class DownloadFile {
 public:
  // A new, empty temporary file beside `target`. Throws FileError.
  explicit DownloadFile(std::filesystem::path target);
  // Removes the temporary file unless Complete made it the target.
  ~DownloadFile();
  DownloadFile(const DownloadFile&) = delete;
  DownloadFile& operator=(const DownloadFile&) = delete;

  // Appends the bytes. Throws FileError (a full disk, say); the file is removed then.
  void Append(std::string_view bytes);
  // The bytes appended so far.
  std::uint64_t Size() const { return size_; }
  // Puts the file, synced, in the target's place, replacing a file of that name. Throws
  // FileError; the temporary file is removed then and the target left as it was.
  void Complete();

  // Removes the temporary files that downloads of `target` left when the program was killed
  // during them. Only files named as this names them go; errors are ignored.
  static void RemoveLeftovers(const std::filesystem::path& target);

 private:
  void Flush();
  [[noreturn]] void Fail(int error);
  void Discard() noexcept;

  std::filesystem::path target_;
  std::string temporary_;
  int fd_ = -1;
  std::string buffer_;  // appended bytes not yet written, written in large pieces
  std::uint64_t size_ = 0;
};

}  // namespace parlino::voices
