#include "platform/linux/flite_text.h"

#include <optional>
#include <string_view>

namespace parlino::platform::linux_impl {
namespace {

// U+00A0 .. U+00FF.
const char* const kLatin1[96] = {
    " ",
    " ",
    " cents ",
    " pounds ",
    " ",
    " yen ",
    " ",
    " section ",  // A0
    " ",
    " copyright ",
    "a",
    "\"",
    " ",
    "",
    " registered ",
    " ",  // A8: soft hyphen vanishes
    " degrees ",
    " plus or minus ",
    "2",
    "3",
    "'",
    " micro ",
    " ",
    " ",  // B0
    " ",
    "1",
    "o",
    "\"",
    " one quarter ",
    " one half ",
    " three quarters ",
    " ",  // B8
    "A",
    "A",
    "A",
    "A",
    "A",
    "A",
    "AE",
    "C",
    "E",
    "E",
    "E",
    "E",
    "I",
    "I",
    "I",
    "I",  // C0
    "D",
    "N",
    "O",
    "O",
    "O",
    "O",
    "O",
    " times ",
    "O",
    "U",
    "U",
    "U",
    "U",
    "Y",
    "TH",
    "ss",  // D0
    "a",
    "a",
    "a",
    "a",
    "a",
    "a",
    "ae",
    "c",
    "e",
    "e",
    "e",
    "e",
    "i",
    "i",
    "i",
    "i",  // E0
    "d",
    "n",
    "o",
    "o",
    "o",
    "o",
    "o",
    " divided by ",
    "o",
    "u",
    "u",
    "u",
    "u",
    "y",
    "th",
    "y",
};

// U+0100 .. U+017F, one letter each; '*' marks the two-letter ligatures.
constexpr char kLatinExtendedA[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi**JjKkkLlLlLlLlLlNnNnNnnNnOoOoOo**RrRrRrSsSs"
    "SsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(sizeof kLatinExtendedA == 129);

// The ASCII form of `c`, or nothing when it has none.
std::optional<std::string_view> Replacement(char16_t c) {
  switch (c) {
    case u'\u0132':
      return "IJ";
    case u'\u0133':
      return "ij";
    case u'\u0152':
      return "OE";
    case u'\u0153':
      return "oe";
    case u'\u2018':
    case u'\u2019':
    case u'\u201A':
    case u'\u201B':
    case u'\u2032':
      return "'";
    case u'\u201C':
    case u'\u201D':
    case u'\u201E':
    case u'\u201F':
    case u'\u2033':
      return "\"";
    case u'\u2010':
    case u'\u2011':
    case u'\u2012':
    case u'\u2013':
    case u'\u2014':
    case u'\u2015':
    case u'\u2212':
      return "-";
    case u'\u2026':
      return "...";
    case u'\u200B':
    case u'\u200C':
    case u'\u200D':
    case u'\u2060':
    case u'\uFEFF':
      return "";
    case u'\u20AC':
      return " euros ";
    case u'\u2122':
      return " trademark ";
    default:
      break;
  }
  if (c >= 0xA0 && c <= 0xFF) return kLatin1[c - 0xA0];
  if (c >= 0x100 && c <= 0x17F && kLatinExtendedA[c - 0x100] != '*') {
    return std::string_view(&kLatinExtendedA[c - 0x100], 1);
  }
  return std::nullopt;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

Text FliteText(TextView text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0x20 && c < 0x7F) {
      result.push_back(c);
      continue;
    }
    const std::optional<std::string_view> replacement = Replacement(c);
    if (!replacement) {
      // A character outside the page, control characters and line breaks: a pause at most.
      result.push_back(u' ');
      if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
      continue;
    }
    for (const char ascii : *replacement) result.push_back(static_cast<char16_t>(ascii));
  }
  return result;
}

}  // namespace parlino::platform::linux_impl
