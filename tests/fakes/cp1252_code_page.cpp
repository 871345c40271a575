#include "tests/fakes/cp1252_code_page.h"

#include <array>

namespace parlino::testing {
namespace {

// Bytes 0x80 .. 0x9F; the five bytes the page leaves undefined map to the C1 control with their
// own number, as the platform's conversion does. Every other byte is its own code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ByteToWide(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80u] : char16_t{byte};
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

std::string Cp1252CodePage::FromWide(TextView text) const {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      bytes.push_back('?');
      ++i;
      continue;
    }
    char byte = '?';
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      byte = static_cast<char>(c);
    } else {
      for (std::size_t k = 0; k < kHighControls.size(); ++k) {
        if (kHighControls[k] == c) byte = static_cast<char>(0x80 + k);
      }
    }
    bytes.push_back(byte);
  }
  return bytes;
}

Text Cp1252CodePage::ToWide(std::string_view bytes) const {
  Text text;
  text.reserve(bytes.size());
  for (char byte : bytes) text.push_back(ByteToWide(static_cast<unsigned char>(byte)));
  return text;
}

}  // namespace parlino::testing
