#pragma once
// Text preparation written as plainly as possible: every ignored character and every row goes
// through its own scan, and the scan rebuilds the whole text at each replacement. Quadratic on
// purpose; the tests and the benchmark hold the fast implementation against it.
#include "platform/text.h"
#include "reading/pronunciation_settings.h"

namespace parlino::testing {

inline Text ReferenceFold(TextView text) {
  Text folded(text);
  for (char16_t& c : folded) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return folded;
}

inline Text ReferenceReplaceAll(TextView find, TextView replacement, TextView source,
                                bool ignoreCase) {
  const auto compared = [ignoreCase](TextView text) {
    return ignoreCase ? ReferenceFold(text) : Text(text);
  };
  Text result(source);
  if (find.empty()) return result;
  const Text word = compared(find);
  // A replacement holding its word beyond its first character would be found forever.
  const bool afterInsert = compared(replacement).find(word, 1) != Text::npos;
  std::size_t offset = 0;
  for (;;) {
    const std::size_t p = compared(result).find(word, offset);
    if (p == Text::npos) return result;
    result = result.substr(0, p) + Text(replacement) + result.substr(p + find.size());
    offset = afterInsert ? p + replacement.size() : p + 1;
  }
}

inline Text ReferencePrepareText(Text text, const reading::PronunciationSettings& settings) {
  if (settings.IgnoreCharacters()) {
    for (const char16_t c : settings.IgnoredCharacters()) {
      text = ReferenceReplaceAll(Text(1, c), u" ", text, false);
    }
  }
  if (settings.WordsCorrections()) {
    for (const auto& row : settings.Corrections()) {
      text = ReferenceReplaceAll(row.word, row.pronunciation, text, row.caseMark == u"No");
    }
  }
  return text;
}

}  // namespace parlino::testing
