#include "platform/text.h"

#include <limits>
#include <stdexcept>
#include <string>

namespace parlino {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

Text FromUtf8(std::string_view utf8) {
  static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  // Never more code units than bytes: written in place, then cut to size.
  Text out(utf8.size(), u'\0');
  std::size_t n = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out[n++] = static_cast<char16_t>(lead);
      ++i;
      continue;
    }
    const std::size_t extra = (lead >> 5) == 0x6    ? 1
                              : (lead >> 4) == 0xE  ? 2
                              : (lead >> 3) == 0x1E ? 3
                                                    : 4;  // 4 marks an invalid lead byte
    bool valid = extra < 4 && i + extra < utf8.size();
    char32_t cp = valid ? static_cast<char32_t>(lead & (0x7F >> extra)) : 0;
    for (std::size_t k = 1; valid && k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(utf8[i + k]);
      valid = (cont & 0xC0) == 0x80;
      cp = (cp << 6) | (cont & 0x3Fu);
    }
    valid = valid && cp >= kMinimum[extra] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    if (!valid) {
      out[n++] = static_cast<char16_t>(kReplacement);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out[n++] = static_cast<char16_t>(0xD800 + (cp >> 10));
      out[n++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out[n++] = static_cast<char16_t>(cp);
    }
    i += extra + 1;
  }
  out.resize(n);
  return out;
}

std::string ToUtf8(TextView text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;  // a lone surrogate has no UTF-8 form
    }
    AppendUtf8(out, cp);
  }
  return out;
}

char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool EqualsIgnoreAsciiCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

Text Trim(TextView text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] <= u' ') ++begin;
  while (end > begin && text[end - 1] <= u' ') --end;
  return Text(text.substr(begin, end - begin));
}

Text ToText(long long value) {
  const std::string digits = std::to_string(value);
  return Text(digits.begin(), digits.end());
}

std::optional<std::int32_t> ParseInteger(TextView text) {
  std::uint32_t base = 10;
  bool negative = false;
  if (text.starts_with(u"$")) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with(u"0x") || text.starts_with(u"0X")) {
    base = 16;
    text.remove_prefix(2);
  } else if (text.starts_with(u"-") || text.starts_with(u"+")) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;

  const std::uint64_t limit = base == 16 ? std::numeric_limits<std::uint32_t>::max()
                              : negative ? std::uint64_t{1} << 31
                                         : std::numeric_limits<std::int32_t>::max();
  std::uint64_t value = 0;
  for (const char16_t c : text) {
    std::uint32_t digit = 0;
    if (c >= u'0' && c <= u'9') {
      digit = static_cast<std::uint32_t>(c - u'0');
    } else if (base == 16 && AsciiLower(c) >= u'a' && AsciiLower(c) <= u'f') {
      digit = static_cast<std::uint32_t>(AsciiLower(c) - u'a' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  if (base == 16) return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value))
                  : static_cast<std::int32_t>(value);
}

std::int32_t RequireInteger(TextView text) {
  const auto value = ParseInteger(text);
  if (!value) throw std::invalid_argument("Not a number: " + ToUtf8(text));
  return *value;
}

}  // namespace parlino
