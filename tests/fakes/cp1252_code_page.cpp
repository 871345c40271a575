#include "tests/fakes/cp1252_code_page.h"

#include "platform/windows_1252.h"

namespace parlino::testing {
namespace {

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
      for (std::size_t k = 0; k < platform::kWindows1252High.size(); ++k) {
        if (platform::kWindows1252High[k] == c) byte = static_cast<char>(0x80 + k);
      }
    }
    bytes.push_back(byte);
  }
  return bytes;
}

Text Cp1252CodePage::ToWide(std::string_view bytes) const {
  return platform::DecodeWindows1252(bytes);
}

}  // namespace parlino::testing
