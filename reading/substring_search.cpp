#include "reading/substring_search.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#endif

namespace parlino::reading {
namespace {

char16_t FoldBits(bool ignoreCase, TextView word, std::size_t index) {
  if (!ignoreCase || word.empty()) return 0;
  const char16_t c = word[index];
  return c >= u'a' && c <= u'z' ? char16_t{0x20} : char16_t{0};
}

// A start qualifies when the word's first and last unit fit there, which rules out nearly every
// position of ordinary text before the full comparison.
struct Probe {
  char16_t first;
  char16_t firstFold;
  char16_t last;
  char16_t lastFold;
  std::size_t tail;  // from the first unit to the last
};

// The first qualifying start in [from, end), or end.
using ScanFunction = std::size_t (*)(const Probe&, const char16_t*, std::size_t, std::size_t);

std::size_t ScanOneByOne(const Probe& probe, const char16_t* text, std::size_t from,
                         std::size_t end) {
  for (; from < end; ++from) {
    if ((text[from] | probe.firstFold) == probe.first &&
        (text[from + probe.tail] | probe.lastFold) == probe.last) {
      return from;
    }
  }
  return end;
}

#if defined(__SSE2__)
std::size_t ScanSse2(const Probe& probe, const char16_t* text, std::size_t from, std::size_t end) {
  const __m128i first = _mm_set1_epi16(static_cast<short>(probe.first));
  const __m128i firstFold = _mm_set1_epi16(static_cast<short>(probe.firstFold));
  const __m128i last = _mm_set1_epi16(static_cast<short>(probe.last));
  const __m128i lastFold = _mm_set1_epi16(static_cast<short>(probe.lastFold));
  for (; from + 8 <= end; from += 8) {
    const __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from));
    const __m128i ends =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + from + probe.tail));
    const __m128i hits = _mm_and_si128(_mm_cmpeq_epi16(_mm_or_si128(starts, firstFold), first),
                                       _mm_cmpeq_epi16(_mm_or_si128(ends, lastFold), last));
    const auto bits = static_cast<unsigned>(_mm_movemask_epi8(hits));
    if (bits != 0) return from + static_cast<std::size_t>(std::countr_zero(bits)) / 2;
  }
  return ScanOneByOne(probe, text, from, end);
}
#endif

#if defined(__GNUC__) && defined(__x86_64__)
#define PARLINO_HAVE_AVX2_SCAN 1
__attribute__((target("avx2"))) std::size_t ScanAvx2(const Probe& probe, const char16_t* text,
                                                     std::size_t from, std::size_t end) {
  const __m256i first = _mm256_set1_epi16(static_cast<short>(probe.first));
  const __m256i firstFold = _mm256_set1_epi16(static_cast<short>(probe.firstFold));
  const __m256i last = _mm256_set1_epi16(static_cast<short>(probe.last));
  const __m256i lastFold = _mm256_set1_epi16(static_cast<short>(probe.lastFold));
  for (; from + 16 <= end; from += 16) {
    const __m256i starts = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + from));
    const __m256i ends =
        _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + from + probe.tail));
    const __m256i hits =
        _mm256_and_si256(_mm256_cmpeq_epi16(_mm256_or_si256(starts, firstFold), first),
                         _mm256_cmpeq_epi16(_mm256_or_si256(ends, lastFold), last));
    const auto bits = static_cast<unsigned>(_mm256_movemask_epi8(hits));
    if (bits != 0) return from + static_cast<std::size_t>(std::countr_zero(bits)) / 2;
  }
  return ScanSse2(probe, text, from, end);
}
#endif

ScanFunction ChooseScan() {
#if defined(PARLINO_HAVE_AVX2_SCAN)
  if (__builtin_cpu_supports("avx2")) return ScanAvx2;
#endif
#if defined(__SSE2__)
  return ScanSse2;
#else
  return ScanOneByOne;
#endif
}

}  // namespace

Text FoldAsciiCase(TextView text) {
  Text folded(text);
  for (char16_t& c : folded) c = AsciiLower(c);
  return folded;
}

SubstringSearch::SubstringSearch(TextView word, bool ignoreCase)
    : word_(ignoreCase ? FoldAsciiCase(word) : Text(word)),
      ignoreCase_(ignoreCase),
      firstFold_(FoldBits(ignoreCase, word_, 0)),
      lastFold_(FoldBits(ignoreCase, word_, word_.empty() ? 0 : word_.size() - 1)) {}

bool SubstringSearch::MatchesAt(const char16_t* text) const {
  if (!ignoreCase_) return std::memcmp(text, word_.data(), word_.size() * sizeof(char16_t)) == 0;
  for (std::size_t k = 0; k < word_.size(); ++k) {
    if (AsciiLower(text[k]) != word_[k]) return false;
  }
  return true;
}

bool SubstringSearch::MatchesPart(TextView part, std::size_t offset) const {
  return offset <= word_.size() && part.size() <= word_.size() - offset &&
         std::equal(
             part.begin(), part.end(), word_.begin() + static_cast<std::ptrdiff_t>(offset),
             [this](char16_t t, char16_t w) { return (ignoreCase_ ? AsciiLower(t) : t) == w; });
}

std::size_t SubstringSearch::FindIn(TextView text, std::size_t from) const {
  const std::size_t length = word_.size();
  if (length == 0 || from > text.size() || text.size() - from < length) return npos;
  static const ScanFunction scan = ChooseScan();
  const Probe probe{word_.front(), firstFold_, word_.back(), lastFold_, length - 1};
  const std::size_t end = text.size() - length + 1;
  for (std::size_t at = from;; ++at) {
    at = scan(probe, text.data(), at, end);
    if (at == end) return npos;
    if (MatchesAt(text.data() + at)) return at;
  }
}

}  // namespace parlino::reading
