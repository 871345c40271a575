#include "reading/substring_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace parlino::reading {
namespace {

char16_t FoldBits(bool ignore_case, TextView word, std::size_t index) {
  if (!ignore_case || word.empty()) return 0;
  const char16_t c = word[index];
  return c >= u'a' && c <= u'z' ? char16_t{0x20} : char16_t{0};
}

}  // namespace

Text FoldAsciiCase(TextView text) {
  Text folded(text);
  for (char16_t& c : folded) c = AsciiLower(c);
  return folded;
}

SubstringSearch::SubstringSearch(TextView word, bool ignore_case)
    : word_(ignore_case ? FoldAsciiCase(word) : Text(word)),
      ignore_case_(ignore_case),
      first_fold_(FoldBits(ignore_case, word_, 0)),
      last_fold_(FoldBits(ignore_case, word_, word_.empty() ? 0 : word_.size() - 1)) {}

bool SubstringSearch::MatchesAt(const char16_t* text) const {
  if (!ignore_case_) return std::memcmp(text, word_.data(), word_.size() * sizeof(char16_t)) == 0;
  for (std::size_t k = 0; k < word_.size(); ++k) {
    if (AsciiLower(text[k]) != word_[k]) return false;
  }
  return true;
}

bool SubstringSearch::MatchesPart(TextView part, std::size_t offset) const {
  return offset <= word_.size() && part.size() <= word_.size() - offset &&
         std::equal(
             part.begin(), part.end(), word_.begin() + static_cast<std::ptrdiff_t>(offset),
             [this](char16_t t, char16_t w) { return (ignore_case_ ? AsciiLower(t) : t) == w; });
}

std::size_t SubstringSearch::FindIn(TextView text, std::size_t from) const {
  const std::size_t length = word_.size();
  if (length == 0 || from > text.size() || text.size() - from < length) return npos;
  const char16_t* data = text.data();
  const std::size_t last_start = text.size() - length;
  const std::size_t tail = length - 1;
  std::size_t i = from;
#if defined(__SSE2__)
  // Eight candidate starts at a time: a start qualifies when both the word's first and last unit
  // fit, which rules out nearly every position of ordinary text before the full comparison.
  const __m128i first = _mm_set1_epi16(static_cast<short>(word_.front()));
  const __m128i last = _mm_set1_epi16(static_cast<short>(word_.back()));
  const __m128i first_fold = _mm_set1_epi16(static_cast<short>(first_fold_));
  const __m128i last_fold = _mm_set1_epi16(static_cast<short>(last_fold_));
  for (; i + 8 <= last_start + 1; i += 8) {
    const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + tail));
    const __m128i hits = _mm_and_si128(_mm_cmpeq_epi16(_mm_or_si128(starts, first_fold), first),
                                       _mm_cmpeq_epi16(_mm_or_si128(ends, last_fold), last));
    auto bits = static_cast<unsigned>(_mm_movemask_epi8(hits));
    while (bits != 0) {
      const auto lane = static_cast<std::size_t>(std::countr_zero(bits)) / 2;
      if (MatchesAt(data + i + lane)) return i + lane;
      bits &= ~(3u << (2 * lane));
    }
  }
#endif
  for (; i <= last_start; ++i) {
    if ((data[i] | first_fold_) == word_.front() && (data[i + tail] | last_fold_) == word_.back() &&
        MatchesAt(data + i)) {
      return i;
    }
  }
  return npos;
}

}  // namespace parlino::reading
