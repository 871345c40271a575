#include "app/say/say_options.h"

#include "speech/catalogue/voice_catalogue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <stdexcept>

namespace parlino::say {
namespace {

int ParseNumber(const std::string& option, const std::string& value, int min, int max) {
  int number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, error] = std::from_chars(value.data(), end, number);
  if (value.empty() || error != std::errc() || stop != end || number < min || number > max) {
    throw std::invalid_argument(option + " needs a whole number from " + std::to_string(min) +
                                " to " + std::to_string(max) + ", not \"" + value + "\"");
  }
  return number;
}

}  // namespace

SayOptions ParseSayOptions(const std::vector<std::string>& arguments) {
  SayOptions options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (optionsEnded || !argument.starts_with("-") || argument == "-") {
      options.words.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      continue;
    }
    if (argument == "--list-voices") {
      options.listVoices = true;
      continue;
    }
    // Options with a value: "--rate 3" or "--rate=3".
    std::string value;
    if (const std::size_t equals = argument.find('='); equals != std::string::npos) {
      value = argument.substr(equals + 1);
      argument.resize(equals);
    } else if (argument == "--voice" || argument == "--rate" || argument == "--volume" ||
               argument == "--pitch") {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(argument + " needs a value");
      value = arguments[++i];
    }
    if (argument == "--voice") {
      if (value.empty()) throw std::invalid_argument("--voice needs a voice name");
      options.voice = value;
    } else if (argument == "--rate") {
      options.rate = ParseNumber(argument, value, -10, 10);
    } else if (argument == "--volume") {
      options.volume = ParseNumber(argument, value, 0, 100);
    } else if (argument == "--pitch") {
      options.pitch = ParseNumber(argument, value, -10, 10);
    } else {
      throw std::invalid_argument("unknown option " + arguments[i]);
    }
  }
  return options;
}

std::string SayUsage() {
  return "Usage: parlino-say [OPTION]... [TEXT]...\n"
         "Speaks TEXT (or standard input when there is no TEXT) and exits when the speech ends.\n"
         "\n"
         "  --voice NAME    the voice to speak with, by its name (see --list-voices)\n"
         "  --rate N        speed from -10 (slowest) to 10 (fastest); 0 is normal\n"
         "  --volume N      volume from 0 to 100 (the default)\n"
         "  --pitch N       pitch from -10 (lowest) to 10 (highest); 0 is the voice's own\n"
         "  --list-voices   lists the names of the voices and exits: the legacy (Flite)\n"
         "                  voices first, then the modern ones, marked (SAPI5)\n"
         "\n"
         "For a legacy voice, -10 and 10 are its own slowest and fastest speed, lowest and\n"
         "highest pitch.\n"
         "  --help          shows this help and exits\n";
}

Text InputText(const SayOptions& options, std::istream& input) {
  std::string utf8;
  if (options.words.empty()) {
    utf8.assign(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
  } else {
    for (const std::string& word : options.words) utf8 += (utf8.empty() ? "" : " ") + word;
  }
  return FromUtf8(utf8);
}

Text SpokenText(const SayOptions& options, std::istream& input) {
  Text text = InputText(options, input);
  if (options.pitch) text = u"<pitch middle=\"" + ToText(*options.pitch) + u"\">" + text;
  return text;
}

std::uint32_t LegacyValue(int step, std::uint32_t min, std::uint32_t normal, std::uint32_t max) {
  const double share = std::clamp(step, -10, 10) / 10.0;
  const double limit = share < 0 ? double(min) : double(max);
  const double value = double(normal) + std::abs(share) * (limit - double(normal));
  return static_cast<std::uint32_t>(std::lround(value));
}

std::optional<std::size_t> FindVoice(const std::vector<Text>& names, std::size_t legacyCount,
                                     const std::string& wanted) {
  const Text name = FromUtf8(wanted);
  for (const bool exact : {true, false}) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      const Text bare = i < legacyCount
                            ? names[i]
                            : speech::StoredVoiceName(names[i], speech::VoiceGeneration::Sapi5);
      for (const Text& candidate : {names[i], bare}) {
        if (exact ? candidate == name : EqualsIgnoreAsciiCase(candidate, name)) return i;
      }
    }
  }
  return std::nullopt;
}

}  // namespace parlino::say
