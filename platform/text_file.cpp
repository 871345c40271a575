#include "platform/text_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

namespace parlino::platform {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool IsUtf16(TextEncoding encoding) {
  return encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
}

std::string_view MarkOf(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return {};
    case TextEncoding::Utf8Bom:
      return kUtf8Mark;
    case TextEncoding::Utf16Le:
      return kUtf16LeMark;
    case TextEncoding::Utf16Be:
      return kUtf16BeMark;
  }
  return {};
}

bool StartsWithAMark(std::string_view bytes) {
  return bytes.starts_with(kUtf8Mark) || bytes.starts_with(kUtf16LeMark) ||
         bytes.starts_with(kUtf16BeMark);
}

void Encode(std::string& out, TextView text, TextEncoding encoding) {
  if (!IsUtf16(encoding)) {
    if (std::ranges::all_of(text, [](char16_t c) { return c < 0x80; })) {
      for (const char16_t c : text) out.push_back(static_cast<char>(c));
    } else {
      out += ToUtf8(text);
    }
    return;
  }
  const bool littleEndian = encoding == TextEncoding::Utf16Le;
  for (const char16_t c : text) {
    const auto low = static_cast<char>(c & 0xFF);
    const auto high = static_cast<char>(c >> 8);
    out.push_back(littleEndian ? low : high);
    out.push_back(littleEndian ? high : low);
  }
}

Text DecodeUtf16(std::string_view bytes, bool littleEndian) {
  Text text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(littleEndian ? (a | (b << 8)) : ((a << 8) | b)));
  }
  return text;
}

// What went wrong, in the user's words.
std::string Reason(int error, bool writing) {
  switch (error) {
    case EACCES:
    case EPERM:
      return writing ? "you do not have permission to change it"
                     : "you do not have permission to read it";
    case ENOSPC:
      return "the disk is full";
#ifdef EDQUOT
    case EDQUOT:
      return "your disk quota is used up";
#endif
    case EROFS:
      return "the disk it is on is read-only";
    case EISDIR:
      return "it is a folder, not a file";
    case ENOENT:
      return "its folder does not exist";
    case ENOTDIR:
      return "a part of its path is not a folder";
    case EIO:
      return "the disk reported an error";
    case ELOOP:
      return "its symbolic links go round in a circle";
    case ENAMETOOLONG:
      return "its path is too long";
    default: {
      std::string text = std::strerror(error);
      if (!text.empty()) {
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
      }
      return text;
    }
  }
}

}  // namespace

namespace {

std::string FileMessage(bool writing, const std::filesystem::path& path,
                        const std::string& reason) {
  return std::string(writing ? "Cannot save \"" : "Cannot read \"") + path.string() +
         "\": " + reason + ".";
}

}  // namespace

FileError::FileError(bool writing, const std::filesystem::path& path, int error, std::string reason)
    : PlatformError(FileMessage(writing, path, reason.empty() ? Reason(error, writing) : reason),
                    error),
      reason_(reason.empty() ? Reason(error, writing) : std::move(reason)) {}

void AppendToFile(const std::filesystem::path& path, std::string_view bytes) {
  errno = 0;
  // A stream opens the path as the system names it (wide on Windows), whatever its characters.
  std::ofstream file(path, std::ios::binary | std::ios::app);
  if (!file) throw FileError(true, path, errno != 0 ? errno : EIO);
  if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !file.flush()) {
    throw FileError(true, path, errno != 0 ? errno : EIO);
  }
}

TextFile ParseText(std::string bytes) {
  TextFile file;
  file.source = std::move(bytes);
  const std::string_view source = file.source;
  std::size_t begin = 0;
  if (source.starts_with(kUtf16LeMark)) {
    file.encoding = TextEncoding::Utf16Le;
  } else if (source.starts_with(kUtf16BeMark)) {
    file.encoding = TextEncoding::Utf16Be;
  } else if (source.starts_with(kUtf8Mark)) {
    file.encoding = TextEncoding::Utf8Bom;
  }
  begin = MarkOf(file.encoding).size();

  // One unit is a byte, or two bytes in UTF-16 (an odd last byte is no character and is dropped).
  const bool utf16 = IsUtf16(file.encoding);
  const std::size_t unit = utf16 ? 2 : 1;
  const Text text =
      utf16 ? DecodeUtf16(source.substr(begin), file.encoding == TextEncoding::Utf16Le) : Text();
  const std::size_t units = utf16 ? text.size() : source.size() - begin;
  // Every line but the last ends in a CR or an LF.
  file.lines.reserve(1 + static_cast<std::size_t>(std::ranges::count_if(
                             source, [](char c) { return c == '\r' || c == '\n'; })));
  const auto addLine = [&](std::size_t first, std::size_t end, LineEnding ending) {
    TextLine& line = file.lines.emplace_back(Text(), ending);
    if (utf16) {
      line.content_.assign(text, first, end - first);
    } else {
      line.content_ = FromUtf8(source.substr(begin + first, end - first));
    }
    line.byteOffset_ = begin + first * unit;
    line.byteLength_ = (end - first) * unit;
    line.sourceEnding_ = ending;
    line.keepsBytes_ = true;
  };

  // The next CR or LF at or after `from` in [from, limit), or `limit`.
  const auto findBreak = [&](std::size_t from, std::size_t limit, char16_t wanted) -> std::size_t {
    if (utf16) {
      const std::size_t at = TextView(text).substr(0, limit).find(wanted, from);
      return at == TextView::npos ? limit : at;
    }
    // CR and LF are never part of a longer sequence in UTF-8 (nor in a single-byte code page
    // read as UTF-8), so the bytes split where the text does.
    const void* found =
        std::memchr(source.data() + begin + from, static_cast<char>(wanted), limit - from);
    return found == nullptr
               ? limit
               : static_cast<std::size_t>(static_cast<const char*>(found) - source.data()) - begin;
  };
  for (std::size_t start = 0; start < units;) {
    const std::size_t lf = findBreak(start, units, u'\n');
    const std::size_t cr = findBreak(start, lf, u'\r');
    if (cr < lf) {
      const bool crLf = cr + 1 == lf && lf < units;
      addLine(start, cr, crLf ? LineEnding::CrLf : LineEnding::Cr);
      start = crLf ? lf + 1 : cr + 1;
    } else {
      addLine(start, lf, lf < units ? LineEnding::Lf : LineEnding::None);
      start = lf + 1;
    }
  }
  return file;
}

TextView EndingText(LineEnding ending) {
  switch (ending) {
    case LineEnding::CrLf:
      return u"\r\n";
    case LineEnding::Cr:
      return u"\r";
    case LineEnding::Lf:
      return u"\n";
    case LineEnding::None:
      break;
  }
  return {};
}

std::string EncodeText(const TextFile& file) {
  const std::size_t unit = IsUtf16(file.encoding) ? 2 : 1;
  std::string body;
  body.reserve(file.source.size() + 64);
  // Unchanged lines that lie one after the other in the source are copied in one piece.
  std::size_t runStart = 0;
  std::size_t runEnd = 0;
  const auto flush = [&] {
    body.append(file.source, runStart, runEnd - runStart);
    runStart = runEnd = 0;
  };
  for (const TextLine& line : file.lines) {
    if (line.keepsBytes_ && line.ending_ == line.sourceEnding_) {
      const std::size_t end =
          line.byteOffset_ + line.byteLength_ + EndingText(line.ending_).size() * unit;
      if (runEnd == 0 || runEnd != line.byteOffset_) {
        flush();
        runStart = line.byteOffset_;
      }
      runEnd = end;
      continue;
    }
    flush();
    if (line.keepsBytes_) {
      body.append(file.source, line.byteOffset_, line.byteLength_);
    } else {
      Encode(body, line.content_, file.encoding);
    }
    Encode(body, EndingText(line.ending_), file.encoding);
  }
  flush();
  std::string_view mark = MarkOf(file.encoding);
  // Without a mark, bytes that look like one would change how the file is read next time.
  if (mark.empty() && StartsWithAMark(body)) mark = kUtf8Mark;
  body.insert(0, mark);
  return body;
}

std::optional<TextFile> ReadTextFile(const std::filesystem::path& path) {
  auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return ParseText(std::move(*bytes));
}

}  // namespace parlino::platform
