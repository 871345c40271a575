#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/platform_error.h"

namespace parlino::platform {
namespace {

Text DecodeUtf16(const std::string& bytes, std::size_t offset, bool littleEndian) {
  Text text;
  text.reserve((bytes.size() - offset) / 2);
  for (std::size_t i = offset; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(littleEndian ? (a | (b << 8)) : ((a << 8) | b)));
  }
  return text;
}

void EncodeUtf16(std::string& out, TextView text, bool littleEndian) {
  for (const char16_t c : text) {
    const auto low = static_cast<char>(c & 0xFF);
    const auto high = static_cast<char>(c >> 8);
    out.push_back(littleEndian ? low : high);
    out.push_back(littleEndian ? high : low);
  }
}

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path) {
  const int error = errno;
  throw PlatformError(what + " " + path.string() + ": " + std::strerror(error), error);
}

}  // namespace

TextFile ParseText(const std::string& bytes) {
  TextFile file;
  Text text;
  if (bytes.starts_with("\xFF\xFE")) {
    file.encoding = TextEncoding::Utf16Le;
    text = DecodeUtf16(bytes, 2, true);
  } else if (bytes.starts_with("\xFE\xFF")) {
    file.encoding = TextEncoding::Utf16Be;
    text = DecodeUtf16(bytes, 2, false);
  } else if (bytes.starts_with("\xEF\xBB\xBF")) {
    file.encoding = TextEncoding::Utf8Bom;
    text = FromUtf8(std::string_view(bytes).substr(3));
  } else {
    text = FromUtf8(bytes);
  }

  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    const std::size_t endingLength =
        text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
    file.lines.push_back({text.substr(start, i - start), text.substr(i, endingLength)});
    i += endingLength - 1;
    start = i + 1;
  }
  if (start < text.size()) file.lines.push_back({text.substr(start), Text()});
  return file;
}

std::string EncodeText(const TextFile& file) {
  Text text;
  for (const TextLine& line : file.lines) {
    text += line.content;
    text += line.ending;
  }
  std::string out;
  switch (file.encoding) {
    case TextEncoding::Utf8:
      return ToUtf8(text);
    case TextEncoding::Utf8Bom:
      return "\xEF\xBB\xBF" + ToUtf8(text);
    case TextEncoding::Utf16Le:
      out = "\xFF\xFE";
      EncodeUtf16(out, text, true);
      return out;
    case TextEncoding::Utf16Be:
      out = "\xFE\xFF";
      EncodeUtf16(out, text, false);
      return out;
  }
  return out;
}

std::optional<TextFile> ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return ParseText(bytes);
}

void ReplaceFileAtomically(const std::filesystem::path& path, const std::string& bytes) {
  std::string temporary = path.string() + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) Fail("Cannot create a file beside", path);

  struct stat existing {};
  const mode_t mode = stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
  bool ok = fchmod(fd, mode) == 0;
  for (std::size_t written = 0; ok && written < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) written += static_cast<std::size_t>(n);
  }
  ok = ok && fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return;
  const int error = errno;
  ::unlink(temporary.c_str());
  errno = error;
  Fail(ok ? "Cannot replace" : "Cannot write", path);
}

}  // namespace parlino::platform
