#pragma once
// Text as the program handles it: UTF-16 code units, the same on every platform.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace parlino {

using Text = std::u16string;
using TextView = std::u16string_view;

// Invalid sequences become U+FFFD; nothing is dropped silently.
Text FromUtf8(std::string_view utf8);
std::string ToUtf8(TextView text);

// ASCII-only helpers: the profile files compare names the way the platform does for them.
char16_t AsciiLower(char16_t c);
bool EqualsIgnoreAsciiCase(TextView a, TextView b);
Text Trim(TextView text);  // removes code units up to and including the space from both ends

// Decimal text of an integer, as the settings files store it.
Text ToText(long long value);

// Decimal, "$hex" or "0xhex" in 32 bits (hexadecimal wraps like the platform's own reader);
// nothing for anything else.
std::optional<std::int32_t> ParseInteger(TextView text);
// The same for a text that must be a number: throws std::invalid_argument naming the text.
std::int32_t RequireInteger(TextView text);

}  // namespace parlino
