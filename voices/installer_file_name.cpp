#include "voices/installer_file_name.h"

#include <string>

namespace parlino::voices {
namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool IsAsciiLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// "%XX" escapes stand for UTF-8 bytes; a "%" that starts no escape stands for itself.
Text DecodePercentEscapes(TextView text) {
  std::string bytes;
  Text decoded;
  const auto flush = [&] {
    decoded += FromUtf8(bytes);
    bytes.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      bytes.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
      continue;
    }
    flush();
    decoded.push_back(text[i]);
  }
  flush();
  return decoded;
}

}  // namespace

std::optional<Text> InstallerFileName(TextView address) {
  // The query and the fragment are no part of the resource's path.
  address = address.substr(0, address.find_first_of(u"?#"));
  const std::size_t slash = address.rfind(u'/');
  if (slash == TextView::npos) return std::nullopt;
  const Text name = DecodePercentEscapes(address.substr(slash + 1));

  if (name.empty() || name == u"." || name == u"..") return std::nullopt;
  if (name.find_first_of(Text(u"/\\\0", 3)) != Text::npos) return std::nullopt;
  if (name.size() >= 2 && IsAsciiLetter(name[0]) && name[1] == u':') return std::nullopt;
  return name;
}

}  // namespace parlino::voices
