#pragma once
// Replacement of every occurrence of a word, as pronunciation corrections and ignored characters
// are applied. After each replacement the search goes on one character after the start of the
// occurrence just replaced, in the changed text. So an inserted replacement is searched again
// from its second character on (an occurrence starting in it and running on into the following
// text is replaced too), and after a deletion the character that moved into its place is not
// looked at again ("XX" without "X" gives "X").
//
// A replacement that holds its own word anywhere but at its start would be found again without
// end; for such a row alone the search goes on after the inserted text. An empty word is never
// found.
#include "platform/text.h"

namespace parlino::reading {

Text ReplaceAll(TextView find, TextView replacement, TextView source);
// Compares with A to Z folded to a to z only; the replacement goes in as written and the text
// outside the occurrences keeps its case.
Text ReplaceAllIgnoreCase(TextView find, TextView replacement, TextView source);

// The same, for callers that apply many rows in turn and reuse their buffers: when at least one
// occurrence is replaced, `out` receives the result and the answer is true; otherwise `out` is
// left alone and the answer is false (the result is `source` itself). `out` must not share
// storage with `source`.
bool ReplaceAllInto(TextView find, TextView replacement, bool ignore_case, TextView source,
                    Text& out);

}  // namespace parlino::reading
