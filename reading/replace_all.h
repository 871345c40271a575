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
#include <cstddef>
#include <vector>

#include "platform/text.h"
#include "reading/substring_search.h"

namespace parlino::reading {

Text ReplaceAll(TextView find, TextView replacement, TextView source);
// Compares with A to Z folded to a to z only; the replacement goes in as written and the text
// outside the occurrences keeps its case.
Text ReplaceAllIgnoreCase(TextView find, TextView replacement, TextView source);

// The same over a text that arrives in pieces, so that many rows can work one after another on
// a piece while it is still in the cache. Each call settles what no later piece can change.
class ReplaceStream {
 public:
  ReplaceStream(TextView find, TextView replacement, bool ignoreCase);

  static constexpr std::size_t kWritten = Text::npos;

  // `source` is Unsettled() followed by the next piece of the text; `last` marks the end of the
  // text. When something in `source` is replaced, the settled part of the result is appended to
  // `out` (which must not overlap `source`) and the answer is kWritten. Otherwise `out` is left
  // alone and the answer is the length of the settled beginning of `source`, unchanged.
  std::size_t Scan(TextView source, bool last, Text& out);
  // The end of the text seen so far that a later piece may still change.
  const Text& Unsettled() const { return unsettled_; }

 private:
  enum class Bridge { kNone, kFound, kUndecided };
  // Whether an occurrence starts in the replacement just inserted before source[next] (beyond
  // its first unit) and runs on into the source; `at` receives its start in the replacement.
  Bridge FindBridge(TextView source, std::size_t next, bool last, std::size_t& at) const;
  // Keeps what a later piece may still change, from `from` (where the search would go on) or from
  // where the word could still run past the end; answers where the settled part ends.
  std::size_t Settle(TextView source, std::size_t from, bool last);

  SubstringSearch search_;
  Text replacement_;
  // Positions i >= 1, ascending, from which the rest of the replacement begins the word.
  std::vector<std::size_t> bridges_;
  Text unsettled_;
  // A deletion ended the text seen so far: the first unit of the next piece is not looked at.
  bool skipFirst_ = false;
};

}  // namespace parlino::reading
