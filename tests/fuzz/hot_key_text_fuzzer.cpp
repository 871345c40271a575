// A hot key as the settings files store it: the number is read as the platform reads it
// (decimal, "$hex" or "0xhex") and its low 16 bits are the code, whose text follows the fixed
// table. Both are checked against plain reference implementations.
// Input: the stored value on the first line; the rest is the name the system gives any key the
// table does not name.
#include <optional>

#include "platform/hot_key_registrar.h"
#include "reading/hot_key_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace parlino::fuzz {
namespace {

std::optional<int> Digit(char16_t c, int base) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (base == 16 && c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (base == 16 && c >= u'A' && c <= u'F') return c - u'A' + 10;
  return std::nullopt;
}

// Decimal within the 32-bit range, or up to 32 bits of hexadecimal taken as they stand.
std::optional<std::int32_t> ReferenceInteger(TextView text) {
  int base = 10;
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
  std::int64_t value = 0;
  for (const char16_t c : text) {
    const std::optional<int> digit = Digit(c, base);
    if (!digit) return std::nullopt;
    value = value * base + *digit;
    if (value > (std::int64_t{1} << 33)) return std::nullopt;  // far beyond any 32-bit form
  }
  if (base == 16) {
    if (value > 0xFFFFFFFF) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

Text ReferenceKeyName(std::uint8_t key, TextView systemName) {
  switch (key) {
    case 0x08:
      return u"BkSp";
    case 0x09:
      return u"Tab";
    case 0x0D:
      return u"Enter";
    case 0x1B:
      return u"Esc";
    case 0x20:
      return u"Space";
    case 0x21:
      return u"PgUp";
    case 0x22:
      return u"PgDn";
    case 0x23:
      return u"End";
    case 0x24:
      return u"Home";
    case 0x25:
      return u"Left";
    case 0x26:
      return u"Up";
    case 0x27:
      return u"Right";
    case 0x28:
      return u"Down";
    case 0x2D:
      return u"Ins";
    case 0x2E:
      return u"Del";
    default:
      break;
  }
  if (key >= 0x30 && key <= 0x39) return Text(1, static_cast<char16_t>(u'0' + key - 0x30));
  if (key >= 0x60 && key <= 0x69) return Text(1, static_cast<char16_t>(u'0' + key - 0x60));
  if (key >= 0x41 && key <= 0x5A) return Text(1, static_cast<char16_t>(u'A' + key - 0x41));
  if (key >= 0x70 && key <= 0x87) return u"F" + ToText(key - 0x70 + 1);
  return Text(systemName);
}

Text ReferenceHotKeyText(std::uint16_t code, TextView systemName) {
  const Text name = ReferenceKeyName(static_cast<std::uint8_t>(code & 0xFF), systemName);
  if (name.empty()) return {};
  return Text(code & 0x2000 ? u"Shift+" : u"") + (code & 0x4000 ? u"Ctrl+" : u"") +
         (code & 0x8000 ? u"Alt+" : u"") + name;
}

}  // namespace
}  // namespace parlino::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  Fields fields(data, size);
  const Text stored = FromUtf8(fields.Next());
  const Text systemName = FromUtf8(fields.Rest());

  const std::optional<std::int32_t> number = ParseInteger(stored);
  const std::optional<std::int32_t> expected = ReferenceInteger(stored);
  Check(number == expected, "the stored number reads as the reference reads it");
  const auto code = static_cast<std::uint16_t>(number.value_or(0));
  const Text text = reading::HotKeyText(code, [&](std::uint8_t) { return systemName; });
  Check(text == ReferenceHotKeyText(code, systemName), "the hot key text follows the table", text,
        ReferenceHotKeyText(code, systemName));
  return 0;
}
