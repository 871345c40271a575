#pragma once
// One pronunciation correction: a row of the corrections list and a line of words.ini.
#include "platform/text.h"

namespace parlino::corrections {

struct Correction {
  Text word;           // the text to look for; empty only when read from a malformed line
  Text pronunciation;  // the text put in its place; may be empty
  Text caseMark;  // "Yes" or "No" as the editor writes it; a hand-edited file may hold anything

  friend bool operator==(const Correction&, const Correction&) = default;
};

// Only a case mark of exactly "No" matches without regard to case; anything else matches exactly.
inline bool IgnoresCase(const Correction& correction) {
  return correction.caseMark == u"No";
}

}  // namespace parlino::corrections
