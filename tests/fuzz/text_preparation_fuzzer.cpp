// Text preparation against the plain reference implementation of the tests, for any settings
// and any text; the corrections step alone gives the same whatever its piece length.
// Input: a line of flags ("1" or "0" for ignoring characters, then for the corrections) and a
// piece length; a line of ignored characters; correction rows "word<TAB>pronunciation<TAB>case
// mark", one a line, up to an empty line; the rest is the text.
#include <algorithm>
#include <vector>

#include "reading/text_preparation.h"
#include "tests/fakes/fake_pronunciation_settings.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/reading/reference_text_preparation.h"

namespace parlino::fuzz {
namespace {

// The reference rebuilds the text at every replacement; beyond this many code units a single
// input would take seconds.
constexpr std::size_t kMaxReferenceLength = 4096;
constexpr std::size_t kMaxRows = 8;

corrections::Correction Row(std::string_view line) {
  const std::size_t first = line.find('\t');
  const std::size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
  corrections::Correction row;
  row.word = FromUtf8(line.substr(0, first));
  if (first != std::string_view::npos) {
    row.pronunciation = FromUtf8(line.substr(first + 1, second - first - 1));
  }
  if (second != std::string_view::npos) row.caseMark = FromUtf8(line.substr(second + 1));
  return row;
}

// How long the text may grow: every row multiplies it by at most its pronunciation's length.
std::size_t GrowthBound(std::size_t length, const std::vector<corrections::Correction>& rows) {
  std::size_t bound = length;
  for (const auto& row : rows) {
    bound *= std::max<std::size_t>(1, row.pronunciation.size());
    if (bound > kMaxReferenceLength) return bound;
  }
  return bound;
}

}  // namespace
}  // namespace parlino::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  Fields fields(data, size);
  const std::string_view flags = fields.Next();
  testing::FakePronunciationSettings settings;
  settings.ignoreCharacters = flags.size() > 0 && flags[0] == '1';
  settings.wordsCorrections = flags.size() > 1 && flags[1] == '1';
  std::size_t pieceLength = 0;
  for (const char c : flags.substr(std::min<std::size_t>(2, flags.size()))) {
    if (c < '0' || c > '9') continue;
    pieceLength = std::min<std::size_t>(pieceLength * 10 + static_cast<std::size_t>(c - '0'), 4096);
  }
  pieceLength = std::max<std::size_t>(pieceLength, 1);
  settings.ignoredCharacters = FromUtf8(fields.Next());
  for (std::string_view line = fields.Next(); !line.empty(); line = fields.Next()) {
    if (settings.rows.size() == kMaxRows) return 0;
    settings.rows.push_back(Row(line));
  }
  const Text text = FromUtf8(fields.Rest());
  if (settings.ignoredCharacters.size() > 16 ||
      GrowthBound(text.size(), settings.rows) > kMaxReferenceLength) {
    return 0;
  }

  const Text prepared = reading::PrepareText(text, settings);
  const Text expected = testing::ReferencePrepareText(text, settings);
  Check(prepared == expected, "the text is prepared as the reference prepares it", prepared,
        expected);

  testing::FakePronunciationSettings correctionsOnly;
  correctionsOnly.wordsCorrections = true;
  correctionsOnly.rows = settings.rows;
  const Text corrected = reading::ApplyCorrections(text, settings.rows, pieceLength);
  const Text reference = testing::ReferencePrepareText(text, correctionsOnly);
  Check(corrected == reference, "the corrections do not depend on the piece length", corrected,
        reference);
  return 0;
}
