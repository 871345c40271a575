#pragma once
// The command line of parlino-say.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "platform/text.h"

namespace parlino::say {

struct SayOptions {
  std::optional<std::string> voice;  // a voice's name; the server's default when absent
  int rate = 0;                      // -10 .. 10
  int volume = 100;                  // 0 .. 100
  std::optional<int> pitch;          // -10 .. 10; the voice's own pitch when absent
  bool listVoices = false;
  bool help = false;
  std::vector<std::string> words;  // the text to speak; standard input when there is none
};

// Throws std::invalid_argument with a message for the user when the command line is wrong.
SayOptions ParseSayOptions(const std::vector<std::string>& arguments);

std::string SayUsage();

// The text to speak: the words, or else all of `input`.
Text InputText(const SayOptions& options, std::istream& input);
// The same for a modern voice, with the pitch markup in front.
Text SpokenText(const SayOptions& options, std::istream& input);

// A legacy voice's own value for a step of -10 .. 10: 0 is the voice's normal value, -10 and 10
// its limits, steps between them evenly spaced on either side.
std::uint32_t LegacyValue(int step, std::uint32_t min, std::uint32_t normal, std::uint32_t max);

// The voice list as the program shows it: legacy voices first, then the modern voices with the
// suffix. The position of `wanted` in it: its name exactly, else in any letter case; a modern
// voice may also be named without the suffix. Nothing when no voice has that name.
std::optional<std::size_t> FindVoice(const std::vector<Text>& names, std::size_t legacyCount,
                                     const std::string& wanted);

}  // namespace parlino::say
