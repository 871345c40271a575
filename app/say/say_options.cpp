#include "app/say/say_options.h"

#include <charconv>
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
  bool options_ended = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (options_ended || !argument.starts_with("-") || argument == "-") {
      options.words.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options_ended = true;
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      continue;
    }
    if (argument == "--list-voices") {
      options.list_voices = true;
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
         "  --list-voices   lists the names of the voices and exits\n"
         "  --help          shows this help and exits\n";
}

Text SpokenText(const SayOptions& options, std::istream& input) {
  std::string utf8;
  if (options.words.empty()) {
    utf8.assign(std::istreambuf_iterator<char>(input), std::istreambuf_iterator<char>());
  } else {
    for (const std::string& word : options.words) utf8 += (utf8.empty() ? "" : " ") + word;
  }
  Text text = FromUtf8(utf8);
  if (options.pitch) text = u"<pitch middle=\"" + ToText(*options.pitch) + u"\">" + text;
  return text;
}

}  // namespace parlino::say
