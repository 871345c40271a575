#include "platform/linux/voice_locale.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <string_view>

namespace parlino::platform::linux_impl {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

void AddTags(std::vector<std::string>& tags, std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));  // no encoding, no modifier
  if (locale.empty()) return;
  if (locale == "C" || locale == "POSIX") locale = "en";
  std::string tag = Lower(locale);
  std::replace(tag.begin(), tag.end(), '_', '-');
  const std::string language = tag.substr(0, tag.find('-'));
  for (const std::string& wanted : {tag, language}) {
    if (std::find(tags.begin(), tags.end(), wanted) == tags.end()) tags.push_back(wanted);
  }
}

}  // namespace

std::vector<std::string> PreferredLanguages(
    const std::function<const char*(const char*)>& environment) {
  std::vector<std::string> tags;
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = environment(variable);
    if (value == nullptr || *value == '\0') continue;
    std::string_view list = value;
    while (!list.empty()) {
      const std::size_t colon = list.find(':');
      AddTags(tags, list.substr(0, colon));
      list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    break;
  }
  return tags;
}

int LocaleVoice(const std::vector<VoiceLanguages>& voices, const std::vector<std::string>& tags) {
  for (const std::string& tag : tags) {
    int best = -1;
    int bestPriority = INT_MAX;
    for (std::size_t v = 0; v < voices.size(); ++v) {
      for (const auto& [priority, language] : voices[v]) {
        if (Lower(language) == tag && priority < bestPriority) {
          best = static_cast<int>(v);
          bestPriority = priority;
        }
      }
    }
    if (best >= 0) return best;
  }
  return -1;
}

}  // namespace parlino::platform::linux_impl
