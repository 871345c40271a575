#include "platform/linux/voice_locale.h"

#include <gtest/gtest.h>

#include <map>

namespace parlino {
namespace {

using platform::linux_impl::LocaleVoice;
using platform::linux_impl::PreferredLanguages;
using platform::linux_impl::VoiceLanguages;

TEST(VoiceLocale, PreferredLanguagesFollowTheLocaleVariables) {
  struct Case {
    std::map<std::string, std::string> environment;
    std::vector<std::string> tags;
  };
  const Case cases[] = {
      {{{"LANG", "de_DE.UTF-8"}}, {"de-de", "de"}},
      {{{"LANG", "en_US.UTF-8"}}, {"en-us", "en"}},
      {{{"LANG", "en_GB.ISO-8859-1@euro"}}, {"en-gb", "en"}},
      {{{"LANG", "C"}}, {"en"}},
      {{{"LANG", "POSIX"}}, {"en"}},
      {{{"LANG", "C.UTF-8"}}, {"en"}},
      {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR"}}, {"fr-fr", "fr"}},
      {{{"LC_MESSAGES", "fr_FR"}, {"LC_ALL", "it_IT.UTF-8"}}, {"it-it", "it"}},
      {{{"LC_ALL", "it_IT"}, {"LANGUAGE", "pt_BR:de"}}, {"pt-br", "pt", "de"}},
      {{{"LANGUAGE", ""}, {"LANG", "nl_NL"}}, {"nl-nl", "nl"}},
      {{}, {}},
  };
  for (const Case& c : cases) {
    const auto tags = PreferredLanguages([&](const char* name) -> const char* {
      const auto found = c.environment.find(name);
      return found == c.environment.end() ? nullptr : found->second.c_str();
    });
    EXPECT_EQ(tags, c.tags) << (c.environment.empty() ? "" : c.environment.begin()->second);
  }
}

TEST(VoiceLocale, TheBestRankedVoiceOfTheFirstSpokenTagIsChosen) {
  // As espeak-ng lists them (in part).
  const std::vector<VoiceLanguages> voices = {
      {{5, "af"}},                                       // 0 Afrikaans
      {{5, "de"}},                                       // 1 German
      {{5, "en-029"}, {10, "en"}},                       // 2 English (Caribbean)
      {{2, "en-gb"}, {2, "en"}},                         // 3 English (Great Britain)
      {{5, "en-gb-x-gbclan"}, {3, "en-gb"}, {5, "en"}},  // 4 English (Lancaster)
      {{2, "en-us"}, {3, "en"}},                         // 5 English (America)
  };
  EXPECT_EQ(LocaleVoice(voices, {"en-us", "en"}), 5);
  EXPECT_EQ(LocaleVoice(voices, {"en-gb", "en"}), 3);
  EXPECT_EQ(LocaleVoice(voices, {"en-au", "en"}), 3);  // the language alone
  EXPECT_EQ(LocaleVoice(voices, {"de-de", "de"}), 1);
  EXPECT_EQ(LocaleVoice(voices, {"xx-yy", "xx"}), -1);
  EXPECT_EQ(LocaleVoice(voices, {}), -1);
  EXPECT_EQ(LocaleVoice({{{5, "EN-US"}}}, {"en-us"}), 0);
}

}  // namespace
}  // namespace parlino
