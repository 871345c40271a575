#pragma once
// Finds a word in UTF-16 text, either exactly or with only the letters A to Z folded to a to z.
// Folding never changes a length, so a position found folded is the position in the text.
#include <cstddef>
#include <string>

#include "platform/text.h"

namespace parlino::reading {

class SubstringSearch {
 public:
  static constexpr std::size_t npos = Text::npos;

  SubstringSearch(TextView word, bool ignoreCase);

  // The word as it is compared: folded when the search ignores case.
  TextView word() const { return word_; }
  bool IgnoreCase() const { return ignoreCase_; }

  // Start of the first occurrence in `text` at `from` or later; an empty word is never found.
  std::size_t FindIn(TextView text, std::size_t from) const;
  // Whether `part` equals the units of the word from `offset` on, for part.size() units.
  bool MatchesPart(TextView part, std::size_t offset) const;

 private:
  bool MatchesAt(const char16_t* text) const;  // text holds at least word().size() units

  Text word_;
  bool ignoreCase_;
  // Bits OR-ed into the first and last text unit before comparing them with the word's; 0x20
  // for a letter of a folded word, so 'A' and 'a' both compare equal to 'a'.
  char16_t firstFold_;
  char16_t lastFold_;
};

// The text with A to Z mapped to a to z and every other unit left as it is.
Text FoldAsciiCase(TextView text);

}  // namespace parlino::reading
