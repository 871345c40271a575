#include "platform/windows_1252.h"

namespace parlino::platform {

Text DecodeWindows1252(std::string_view bytes) {
  Text text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text.push_back(byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80u] : char16_t{byte});
  }
  return text;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    // The allowed range of the second byte narrows for the leads that could start an overlong
    // form, a surrogate or a code point beyond U+10FFFF.
    std::size_t extra = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (i + extra >= bytes.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += extra + 1;
  }
  return true;
}

Text DecodeUtf8OrWindows1252(std::string_view bytes) {
  return IsValidUtf8(bytes) ? FromUtf8(bytes) : DecodeWindows1252(bytes);
}

}  // namespace parlino::platform
