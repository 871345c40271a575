#pragma once
// The rules of the corrections list and its editor that do not depend on any window: the
// editor's check of its input, the messages, the column width and where the selection goes.
#include <cstddef>
#include <optional>
#include <vector>

#include "corrections/correction.h"
#include "platform/text.h"

namespace parlino::corrections {

// The editor's action button says which mode it is in.
inline constexpr TextView kAddWordCaption = u"Add word";
inline constexpr TextView kSaveChangesCaption = u"Save changes";
inline constexpr TextView kEditorCaption = u"Pronunciation correction";

inline constexpr TextView kEmptyWordMessage =
    u"Please, type some word for pronunciation correction.";
inline constexpr TextView kUnstorableMessage =
    u"Sorry, but the word and the pronunciation cannot contain line breaks, NUL characters or "
    u"the text \"###***###\", and cannot end in \"###***\": the corrections file uses them to "
    u"separate its lines and fields.";

// The message for an existing word in add mode.
Text DuplicateMessage(TextView word);
// The delete command's question.
Text DeleteQuestion(TextView word);

// The editor's check of its input: the message to show, or nothing when the row may be stored.
// Only add mode refuses a word that a row already has, compared exactly (case included).
// Nothing is trimmed: spaces are part of the word and the pronunciation.
std::optional<Text> CheckCorrection(TextView word, TextView pronunciation, bool addMode,
                                    const std::vector<Correction>& rows);

// The row the editor stores.
Correction MakeCorrection(TextView word, TextView pronunciation, bool caseSensitive);

// The "Case sensitive" column is as wide as it can be while every row fits, and narrower once
// the vertical scroll bar needs room.
inline constexpr int kCaseColumnWide = 96;
inline constexpr int kCaseColumnNarrow = 80;
inline constexpr std::size_t kRowsWithoutScrollBar = 7;
int CaseColumnWidth(std::size_t rows);

// After the delete command on `row`, deleted or kept: the row above it, if there is one.
// Otherwise a kept first row stays selected and a deleted one leaves nothing selected.
std::optional<std::size_t> SelectionAfterDelete(std::size_t row, bool deleted);

// The row the edit command opens: the selected one, the first when none is selected.
inline std::size_t RowToEdit(std::optional<std::size_t> selected) {
  return selected.value_or(0);
}

}  // namespace parlino::corrections
