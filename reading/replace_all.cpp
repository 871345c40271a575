#include "reading/replace_all.h"

#include <algorithm>
#include <vector>

#include "reading/substring_search.h"

namespace parlino::reading {
namespace {

// Positions i >= 1 of the replacement, ascending, from which its rest is the beginning of the
// word: an occurrence may start there and run on into the text that follows the insertion. A
// replacement that holds the whole word beyond its first character would be found again without
// end, so for it the search goes on after the inserted text and no position counts.
std::vector<std::size_t> Bridges(const SubstringSearch& search, TextView replacement) {
  const Text compared = search.ignore_case() ? FoldAsciiCase(replacement) : Text(replacement);
  const TextView word = search.word();
  std::vector<std::size_t> bridges;
  if (compared.find(word, 1) != Text::npos) return bridges;
  for (std::size_t i = 1; i < compared.size(); ++i) {
    const std::size_t overlap = compared.size() - i;
    if (overlap < word.size() && TextView(compared).substr(i) == word.substr(0, overlap)) {
      bridges.push_back(i);
    }
  }
  return bridges;
}

}  // namespace

bool ReplaceAllInto(TextView find, TextView replacement, bool ignore_case, TextView source,
                    Text& out) {
  const SubstringSearch search(find, ignore_case);
  std::size_t found = search.FindIn(source, 0);
  if (found == SubstringSearch::npos) return false;

  const std::vector<std::size_t> bridges = Bridges(search, replacement);
  const std::size_t length = find.size();
  out.clear();
  // Some room to grow; a buffer used again keeps what it has.
  if (out.capacity() < source.size()) out.reserve(source.size() + source.size() / 4);
  out.append(source.substr(0, found));
  // Everything before `next` in the source is settled; an occurrence has just ended there.
  std::size_t next = found + length;
  for (;;) {
    const auto bridge = std::find_if(bridges.begin(), bridges.end(), [&](std::size_t i) {
      const std::size_t overlap = replacement.size() - i;
      const std::size_t rest = length - overlap;
      return rest <= source.size() - next && search.MatchesPart(source.substr(next, rest), overlap);
    });
    if (bridge != bridges.end()) {
      out.append(replacement.substr(0, *bridge));
      next += length - (replacement.size() - *bridge);
      continue;
    }
    out.append(replacement);
    // After a deletion the character that moved into its place is not looked at again.
    const std::size_t from = replacement.empty() ? std::min(next + 1, source.size()) : next;
    found = search.FindIn(source, from);
    if (found == SubstringSearch::npos) break;
    out.append(source.substr(next, found - next));
    next = found + length;
  }
  out.append(source.substr(next));
  return true;
}

Text ReplaceAll(TextView find, TextView replacement, TextView source) {
  Text out;
  return ReplaceAllInto(find, replacement, false, source, out) ? out : Text(source);
}

Text ReplaceAllIgnoreCase(TextView find, TextView replacement, TextView source) {
  Text out;
  return ReplaceAllInto(find, replacement, true, source, out) ? out : Text(source);
}

}  // namespace parlino::reading
