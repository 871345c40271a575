#pragma once
// Whole-file text I/O shared by the INI store and the line files: encoding detection by
// byte-order mark, lines split at CR LF, lone CR and lone LF, and atomic replacement.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace parlino::platform {

enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct TextLine {
  Text content;
  Text ending;  // u"\r\n", u"\r", u"\n" or empty for a last line without one
};

struct TextFile {
  TextEncoding encoding = TextEncoding::Utf8;
  std::vector<TextLine> lines;
};

// Nothing when the file does not exist or cannot be read.
std::optional<TextFile> ReadTextFile(const std::filesystem::path& path);
TextFile ParseText(const std::string& bytes);
std::string EncodeText(const TextFile& file);

// Writes `bytes` to a temporary file beside `path` and renames it over `path`, so that readers
// see the old file or the new one, never a mix. Throws PlatformError.
void ReplaceFileAtomically(const std::filesystem::path& path, const std::string& bytes);

}  // namespace parlino::platform
