#include "corrections/correction_rules.h"

#include <algorithm>

#include "corrections/words_file.h"

namespace parlino::corrections {

Text DuplicateMessage(TextView word) {
  return u"Sorry, but pronunciation correction for \"" + Text(word) + u"\"  already exists.";
}

Text DeleteQuestion(TextView word) {
  return u"Are you sure to delete pronunciation correction for word \"" + Text(word) + u"\"?";
}

std::optional<Text> CheckCorrection(TextView word, TextView pronunciation, bool addMode,
                                    const std::vector<Correction>& rows) {
  if (word.empty()) return Text(kEmptyWordMessage);
  // Such a row would come back split at the wrong place from the file.
  if (!IsStorableField(word) || !IsStorableField(pronunciation)) return Text(kUnstorableMessage);
  if (addMode &&
      std::ranges::any_of(rows, [&](const Correction& row) { return row.word == word; })) {
    return DuplicateMessage(word);
  }
  return std::nullopt;
}

Correction MakeCorrection(TextView word, TextView pronunciation, bool caseSensitive) {
  return {Text(word), Text(pronunciation), caseSensitive ? u"Yes" : u"No"};
}

int CaseColumnWidth(std::size_t rows) {
  return rows <= kRowsWithoutScrollBar ? kCaseColumnWide : kCaseColumnNarrow;
}

std::optional<std::size_t> SelectionAfterDelete(std::size_t row, bool deleted) {
  if (row > 0) return row - 1;
  if (deleted) return std::nullopt;
  return row;
}

}  // namespace parlino::corrections
