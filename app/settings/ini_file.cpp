#include "app/settings/ini_file.h"

#include <limits>

namespace parlino::app {

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

bool IniFile::ReadBool(TextView section, TextView key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::int32_t IniFile::ReadInteger(TextView section, TextView key, std::int32_t fallback) const {
  const auto text = store_.Read(path_, section, key);
  if (!text) return fallback;
  return ParseInteger(*text).value_or(fallback);
}

Text IniFile::ReadString(TextView section, TextView key, TextView fallback) const {
  return store_.Read(path_, section, key).value_or(Text(fallback));
}

void IniFile::WriteBool(TextView section, TextView key, bool value) {
  store_.Write(path_, section, key, value ? u"1" : u"0");
}

void IniFile::WriteInteger(TextView section, TextView key, std::int32_t value) {
  store_.Write(path_, section, key, ToText(value));
}

void IniFile::WriteString(TextView section, TextView key, TextView value) {
  store_.Write(path_, section, key, value);
}

}  // namespace parlino::app
