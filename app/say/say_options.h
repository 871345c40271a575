#pragma once
// The command line of parlino-say.
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
  bool list_voices = false;
  bool help = false;
  std::vector<std::string> words;  // the text to speak; standard input when there is none
};

// Throws std::invalid_argument with a message for the user when the command line is wrong.
SayOptions ParseSayOptions(const std::vector<std::string>& arguments);

std::string SayUsage();

// The text to speak: the words, or else all of `input`, with the pitch markup in front.
Text SpokenText(const SayOptions& options, std::istream& input);

}  // namespace parlino::say
