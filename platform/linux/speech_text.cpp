#include "platform/linux/speech_text.h"

#include <algorithm>

namespace parlino::platform::linux_impl {
namespace {

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\v' ||
         c == 0x00A0 || c == 0x3000;
}

bool IsSentenceEnd(char16_t c) {
  return c == u'.' || c == u'!' || c == u'?' || c == 0x2026 || c == 0x3002 || c == 0xFF01 ||
         c == 0xFF1F;
}

bool IsClauseEnd(char16_t c) {
  return c == u',' || c == u';' || c == u':' || c == 0xFF0C;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Reads `literal` (ASCII, matched without regard to case) at `pos`; advances past it.
bool Consume(TextView text, std::size_t& pos, std::string_view literal) {
  if (text.size() - pos < literal.size()) return false;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (AsciiLower(text[pos + i]) != static_cast<char16_t>(literal[i])) return false;
  }
  pos += literal.size();
  return true;
}

void SkipSpaces(TextView text, std::size_t& pos) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
}

// A signed decimal integer, clamped to the pitch range.
bool ConsumePitchValue(TextView text, std::size_t& pos, int& value) {
  bool negative = false;
  if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
    negative = text[pos] == u'-';
    ++pos;
  }
  const std::size_t digitsStart = pos;
  long long magnitude = 0;
  while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
    magnitude = std::min<long long>(magnitude * 10 + (text[pos] - u'0'), 1000);
    ++pos;
  }
  if (pos == digitsStart) return false;
  value = static_cast<int>(
      std::clamp<long long>(negative ? -magnitude : magnitude, kMinPitch, kMaxPitch));
  return true;
}

}  // namespace

SpeechText ParseSpeechText(TextView text) {
  std::size_t pos = 0;
  int value = 0;
  if (!Consume(text, pos, "<pitch")) return {text, 0, 0};
  const std::size_t afterName = pos;
  SkipSpaces(text, pos);
  if (pos == afterName || !Consume(text, pos, "middle")) return {text, 0, 0};
  SkipSpaces(text, pos);
  if (!Consume(text, pos, "=")) return {text, 0, 0};
  SkipSpaces(text, pos);
  if (pos >= text.size() || (text[pos] != u'"' && text[pos] != u'\'')) return {text, 0, 0};
  const char16_t quote = text[pos++];
  if (!ConsumePitchValue(text, pos, value)) return {text, 0, 0};
  if (pos >= text.size() || text[pos] != quote) return {text, 0, 0};
  ++pos;
  SkipSpaces(text, pos);
  if (!Consume(text, pos, ">")) return {text, 0, 0};

  TextView body = text.substr(pos);
  std::size_t end = body.size();
  while (end > 0 && IsSpace(body[end - 1])) --end;
  constexpr std::string_view kClose = "</pitch>";
  if (end >= kClose.size()) {
    std::size_t close = end - kClose.size();
    if (Consume(body, close, kClose)) body = body.substr(0, end - kClose.size());
  }
  return {body, pos, value};
}

PieceEnd NextPiece(TextView text, std::size_t from, std::size_t maxLength) {
  maxLength = std::max<std::size_t>(maxLength, 2);
  if (text.size() - from <= maxLength) return {text.size(), false};
  const std::size_t limit = from + maxLength;
  // A break after position i (exclusive end i + 1) needs a space after the punctuation, so that
  // "3.14" or "e.g.x" stay whole; trailing spaces go with the piece before them.
  std::size_t sentence = 0;
  std::size_t clause = 0;
  std::size_t word = 0;
  for (std::size_t i = from; i < limit; ++i) {
    const bool spaceFollows = IsSpace(text[i + 1]);
    if (text[i] == u'\n' || (IsSentenceEnd(text[i]) && spaceFollows)) sentence = i + 1;
    if (IsClauseEnd(text[i]) && spaceFollows) clause = i + 1;
    if (spaceFollows) word = i + 1;
  }
  const auto takeSpaces = [&](std::size_t end) {
    while (end < limit && IsSpace(text[end])) ++end;
    return end;
  };
  if (sentence != 0) return {takeSpaces(sentence), true};
  if (clause != 0) return {takeSpaces(clause), false};
  if (word != 0) return {takeSpaces(word), false};
  std::size_t cut = limit;
  if (IsHighSurrogate(text[cut - 1]) && IsLowSurrogate(text[cut])) --cut;
  return {cut, false};
}

std::vector<std::size_t> CodePointOffsets(TextView text) {
  std::vector<std::size_t> offsets;
  offsets.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    offsets.push_back(i);
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
  }
  offsets.push_back(text.size());
  return offsets;
}

}  // namespace parlino::platform::linux_impl
