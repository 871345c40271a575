#include "reading/text_preparation.h"

#include <bitset>
#include <memory>
#include <utility>

#include "reading/replace_all.h"

namespace parlino::reading {
namespace {

// Replacing each listed character by a space in turn is the same as one pass that turns every
// listed character into a space: a space stays a space whatever comes later in the list.
void BlankIgnoredCharacters(TextView ignored, Text& text) {
  if (ignored.empty()) return;
  auto listed = std::make_unique<std::bitset<0x10000>>();
  for (const char16_t c : ignored) listed->set(c);
  for (char16_t& c : text) {
    if (listed->test(c)) c = u' ';
  }
}

}  // namespace

Text PrepareText(Text raw, const PronunciationSettings& settings) {
  if (settings.IgnoreCharacters()) BlankIgnoredCharacters(settings.IgnoredCharacters(), raw);
  if (!settings.WordsCorrections()) return raw;
  // Rows write alternately into two buffers that keep their room from row to row.
  Text* text = &raw;
  Text buffers[2];
  std::size_t spare = 0;
  for (const corrections::Correction& row : settings.Corrections()) {
    Text& out = buffers[spare];
    if (ReplaceAllInto(row.word, row.pronunciation, corrections::IgnoresCase(row), *text, out)) {
      text = &out;
      spare = 1 - spare;
    }
  }
  return std::move(*text);
}

}  // namespace parlino::reading
