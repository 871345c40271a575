#include "reading/replace_all.h"

#include <vector>

#include "reading/substring_search.h"

namespace parlino::reading {
namespace {

// What a replacement means for the search that goes on after it.
struct Continuation {
  // The replacement holds the word beyond its first character: searching it again never ends.
  bool after_insert = false;
  // Positions i >= 1 at which the rest of the replacement is the beginning of the word, in
  // ascending order: an occurrence may start there and run on into the following text.
  std::vector<std::size_t> bridges;
};

Continuation Plan(const SubstringSearch& search, TextView replacement) {
  const Text compared = search.ignore_case() ? FoldAsciiCase(replacement) : Text(replacement);
  const TextView word = search.word();
  Continuation plan;
  plan.after_insert = compared.find(word, 1) != Text::npos;
  if (plan.after_insert) return plan;
  for (std::size_t i = 1; i < compared.size(); ++i) {
    const std::size_t overlap = compared.size() - i;
    if (overlap < word.size() && TextView(compared).substr(i) == word.substr(0, overlap)) {
      plan.bridges.push_back(i);
    }
  }
  return plan;
}

}  // namespace

bool ReplaceAllInto(TextView find, TextView replacement, bool ignore_case, TextView source,
                    Text& out) {
  const SubstringSearch search(find, ignore_case);
  std::size_t found = search.FindIn(source, 0);
  if (found == SubstringSearch::npos) return false;

  const Continuation plan = Plan(search, replacement);
  const std::size_t length = find.size();
  out.clear();
  out.reserve(source.size());
  out.append(source.substr(0, found));
  // Everything before `next` in the source has been settled; an occurrence has just ended there.
  std::size_t next = found + length;
  for (;;) {
    if (plan.after_insert) {
      out.append(replacement);
    } else if (replacement.empty()) {
      if (next < source.size()) out.push_back(source[next++]);
    } else {
      out.push_back(replacement.front());
      bool bridged = false;
      for (const std::size_t i : plan.bridges) {
        const std::size_t overlap = replacement.size() - i;
        const std::size_t rest = length - overlap;
        if (rest <= source.size() - next &&
            search.MatchesPart(source.substr(next, rest), overlap)) {
          out.append(replacement.substr(1, i - 1));
          next += rest;
          bridged = true;
          break;
        }
      }
      if (bridged) continue;
      out.append(replacement.substr(1));
    }
    found = search.FindIn(source, next);
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
