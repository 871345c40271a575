#pragma once
// The Pronunciation page as text preparation sees it. The options window implements this with
// its controls, so a change on the page counts for the next reading before it is confirmed.
#include <vector>

#include "corrections/correction.h"
#include "platform/text.h"

namespace parlino::reading {

class PronunciationSettings {
 public:
  virtual ~PronunciationSettings() = default;

  virtual bool IgnoreCharacters() const = 0;   // IgnoreCharacters_CheckBox
  virtual Text IgnoredCharacters() const = 0;  // Ignored_Characters, one character per unit
  virtual bool WordsCorrections() const = 0;   // WordsCorr_CheckBox
  // The rows of the corrections list in display order, top to bottom.
  virtual std::vector<corrections::Correction> Corrections() const = 0;
};

}  // namespace parlino::reading
