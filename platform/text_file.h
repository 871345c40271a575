#pragma once
// Whole-file text I/O shared by the INI store and the line files: encoding detection by
// byte-order mark, lines split at CR LF, lone CR and lone LF, and safe replacement. A line that
// the program does not change is written back with exactly the bytes it was read as, so that
// text in another code page (a file made on Windows) survives every write.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform_error.h"
#include "platform/text.h"

namespace parlino::platform {

enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct TextFile;
TextFile ParseText(std::string bytes);
std::string EncodeText(const TextFile& file);

// How a line ends: CR LF, a lone CR, a lone LF, or not at all (a last line).
enum class LineEnding : std::uint8_t { None, CrLf, Cr, Lf };

class TextLine {
 public:
  // A line the program makes: encoded when the file is written.
  TextLine(Text content, LineEnding ending) : content_(std::move(content)), ending_(ending) {}

  const Text& content() const { return content_; }
  LineEnding ending() const { return ending_; }
  // The line is then encoded anew when the file is written.
  void SetContent(Text content) {
    content_ = std::move(content);
    keepsBytes_ = false;
  }
  void SetEnding(LineEnding ending) { ending_ = ending; }

 private:
  friend TextFile ParseText(std::string bytes);
  friend std::string EncodeText(const TextFile& file);

  Text content_;
  // Where the content's bytes lie in the file's source while the line is unchanged.
  std::size_t byteOffset_ = 0;
  std::size_t byteLength_ = 0;
  LineEnding ending_;
  LineEnding sourceEnding_ = LineEnding::None;  // the ending it was read with
  bool keepsBytes_ = false;
};

// The ending's characters.
TextView EndingText(LineEnding ending);

struct TextFile {
  // An edit of a whole file's lines, such as a tidy-up.
  using Edit = std::function<void(TextFile&)>;

  TextEncoding encoding = TextEncoding::Utf8;
  std::vector<TextLine> lines;
  // The bytes the file was read from; unchanged lines are written back from here.
  std::string source;
};

TextFile ParseText(std::string bytes);
// The file's bytes: unchanged lines as they were read, the others in the file's encoding. A file
// without a byte-order mark whose first bytes would be taken for one gets a UTF-8 mark, so that
// it reads back as it was written.
std::string EncodeText(const TextFile& file);

// Nothing when the file does not exist. Throws PlatformError, naming the file and the reason in
// the user's words, when it exists but cannot be read.
std::optional<TextFile> ReadTextFile(const std::filesystem::path& path);

// A file that cannot be read or saved: "Cannot save "<path>": <reason>." (or "Cannot read ..."),
// the reason in the user's words for an errno value unless `reason` gives it.
class FileError : public PlatformError {
 public:
  FileError(bool writing, const std::filesystem::path& path, int error, std::string reason = {});
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

// Appends `bytes` to the end of the file, creating it when it is missing. Throws FileError's
// PlatformError.
void AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// The operating system's part, in <system>/file_replacement.cpp.

// The file's bytes, or nothing when it does not exist (a link to nowhere counts as missing).
// Throws PlatformError when it exists but cannot be read: no permission, a folder, a device, a
// disk error.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path);

// Replaces the content of `path` with `bytes` as an edit in place would, and so that a crash
// leaves the old file or the new one: a temporary file beside the file, renamed over it. Writes
// through symbolic links to their final target; keeps the file's mode, owner and other hard
// links; refuses a file the user may not write. A file with other hard links, or one in a folder
// where no file can be made, is rewritten in place, its new size reserved first so that a full
// disk leaves it as it was. A new file gets the mode 0666 less the umask. Throws PlatformError.
void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes the temporary files that ReplaceFileAtomically left beside `path` (beside its final
// target) when the program was killed while writing it. Only files named as it names them go;
// errors are ignored.
void RemoveLeftoverTemporaries(const std::filesystem::path& path);

}  // namespace parlino::platform
