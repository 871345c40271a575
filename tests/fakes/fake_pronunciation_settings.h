#pragma once
// The Pronunciation page as plain fields.
#include <vector>

#include "corrections/correction.h"
#include "reading/pronunciation_settings.h"

namespace parlino::testing {

struct FakePronunciationSettings : reading::PronunciationSettings {
  bool ignoreCharacters = false;
  Text ignoredCharacters;
  bool wordsCorrections = false;
  std::vector<corrections::Correction> rows;

  bool IgnoreCharacters() const override { return ignoreCharacters; }
  Text IgnoredCharacters() const override { return ignoredCharacters; }
  bool WordsCorrections() const override { return wordsCorrections; }
  std::vector<corrections::Correction> Corrections() const override { return rows; }
};

}  // namespace parlino::testing
