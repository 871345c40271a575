#include "reading/replace_all.h"

#include <algorithm>

namespace parlino::reading {
namespace {

// A replacement that holds the whole word beyond its first character would be found again
// without end, so for it the search goes on after the inserted text and no position counts.
std::vector<std::size_t> BridgesOf(const SubstringSearch& search, TextView replacement) {
  const Text compared = search.IgnoreCase() ? FoldAsciiCase(replacement) : Text(replacement);
  const TextView word = search.word();
  std::vector<std::size_t> bridges;
  if (word.empty() || compared.find(word, 1) != Text::npos) return bridges;
  for (std::size_t i = 1; i < compared.size(); ++i) {
    const std::size_t overlap = compared.size() - i;
    if (overlap < word.size() && TextView(compared).substr(i) == word.substr(0, overlap)) {
      bridges.push_back(i);
    }
  }
  return bridges;
}

Text ReplaceWhole(TextView find, TextView replacement, TextView source, bool ignoreCase) {
  Text out;
  const std::size_t settled = ReplaceStream(find, replacement, ignoreCase).Scan(source, true, out);
  return settled == ReplaceStream::kWritten ? out : Text(source);
}

}  // namespace

Text ReplaceAll(TextView find, TextView replacement, TextView source) {
  return ReplaceWhole(find, replacement, source, false);
}

Text ReplaceAllIgnoreCase(TextView find, TextView replacement, TextView source) {
  return ReplaceWhole(find, replacement, source, true);
}

ReplaceStream::ReplaceStream(TextView find, TextView replacement, bool ignoreCase)
    : search_(find, ignoreCase),
      replacement_(replacement),
      bridges_(BridgesOf(search_, replacement)) {}

ReplaceStream::Bridge ReplaceStream::FindBridge(TextView source, std::size_t next, bool last,
                                                std::size_t& at) const {
  const std::size_t length = search_.word().size();
  for (const std::size_t i : bridges_) {
    const std::size_t overlap = replacement_.size() - i;
    const std::size_t rest = length - overlap;
    const std::size_t seen = std::min(rest, source.size() - next);
    if (!search_.MatchesPart(source.substr(next, seen), overlap)) continue;
    if (seen < rest) {
      if (last) continue;
      return Bridge::kUndecided;
    }
    at = i;
    return Bridge::kFound;
  }
  return Bridge::kNone;
}

std::size_t ReplaceStream::Settle(TextView source, std::size_t from, bool last) {
  const std::size_t length = search_.word().size();
  if (last || length == 0) return source.size();
  if (from > source.size()) {
    skipFirst_ = true;
    return source.size();
  }
  const std::size_t hold =
      std::max(from, source.size() + 1 >= length ? source.size() + 1 - length : 0);
  unsettled_.assign(source.substr(hold));
  return hold;
}

std::size_t ReplaceStream::Scan(TextView source, bool last, Text& out) {
  const std::size_t length = search_.word().size();
  std::size_t from = skipFirst_ ? 1 : 0;
  skipFirst_ = false;
  unsettled_.clear();
  std::size_t found = search_.FindIn(source, from);
  if (found == SubstringSearch::npos) return Settle(source, from, last);

  if (out.capacity() - out.size() < source.size()) out.reserve(out.size() + source.size() * 5 / 4);
  // Everything before `next` is settled and written.
  std::size_t next = 0;
  while (found != SubstringSearch::npos) {
    out.append(source.substr(next, found - next));
    next = found + length;
    // Insert the replacement; an occurrence may begin in it and run on into the source.
    for (;;) {
      std::size_t at = 0;
      const Bridge bridge = FindBridge(source, next, last, at);
      if (bridge == Bridge::kFound) {
        out.append(TextView(replacement_).substr(0, at));
        next += length - (replacement_.size() - at);
        continue;
      }
      if (bridge == Bridge::kUndecided) {
        // The next piece decides; until then the inserted text is searched like any other.
        out.push_back(replacement_.front());
        unsettled_.assign(TextView(replacement_).substr(1));
        unsettled_.append(source.substr(next));
        return kWritten;
      }
      out.append(replacement_);
      break;
    }
    // After a deletion the character that moved into its place is not looked at again.
    from = replacement_.empty() ? next + 1 : next;
    found = search_.FindIn(source, from);
  }
  const std::size_t end = Settle(source, from, last);
  out.append(source.substr(next, end - next));
  return kWritten;
}

}  // namespace parlino::reading
