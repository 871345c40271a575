#pragma once
// Windows-1252, the ANSI code page of Western European Windows: files copied from there arrive
// in it, and a Linux program that reads its text files as UTF-8 meets it as invalid UTF-8.
#include <array>
#include <string_view>

#include "platform/text.h"

namespace parlino::platform {

// The characters of the bytes 0x80 .. 0x9F. The five bytes the page leaves undefined stand for
// the C1 control with their own number, as Windows' own conversion does; every other byte is
// its own code point.
inline constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every byte is one character.
Text DecodeWindows1252(std::string_view bytes);

// True when `bytes` is well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 when `bytes` is valid UTF-8, otherwise Windows-1252: text that is not UTF-8 most likely
// came from a Windows machine, and read that way it keeps its accented letters.
Text DecodeUtf8OrWindows1252(std::string_view bytes);

}  // namespace parlino::platform
