#pragma once
// The Pronunciation page as plain fields.
#include <vector>

#include "corrections/correction.h"
#include "reading/pronunciation_settings.h"

namespace parlino::testing {

struct FakePronunciationSettings : reading::PronunciationSettings {
  bool ignore_characters = false;
  Text ignored_characters;
  bool words_corrections = false;
  std::vector<corrections::Correction> rows;

  bool IgnoreCharacters() const override { return ignore_characters; }
  Text IgnoredCharacters() const override { return ignored_characters; }
  bool WordsCorrections() const override { return words_corrections; }
  std::vector<corrections::Correction> Corrections() const override { return rows; }
};

}  // namespace parlino::testing
