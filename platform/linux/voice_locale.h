#pragma once
// The voice of the user's language first in the voice list, as Windows lists the system's
// default voice first: a first start then reads with a voice that speaks the user's language.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace parlino::platform::linux_impl {

// The language tags to look for, most wanted first, from the first of LANGUAGE (a list separated
// by colons), LC_ALL, LC_MESSAGES and LANG that is set: "de_DE.UTF-8" gives "de-de" then "de".
// The "C" and "POSIX" locales give "en".
std::vector<std::string> PreferredLanguages(
    const std::function<const char*(const char*)>& environment);

// A voice's languages as espeak-ng lists them: a priority (lower is preferred) and a tag such
// as "en-gb".
using VoiceLanguages = std::vector<std::pair<int, std::string>>;

// The position of the voice to list first: for the first tag that any voice speaks, the voice
// that ranks that tag highest (the earlier of equals). -1 when no voice speaks any of them.
int LocaleVoice(const std::vector<VoiceLanguages>& voices, const std::vector<std::string>& tags);

}  // namespace parlino::platform::linux_impl
