#pragma once
// How the Linux voice reads the texts it is given: the pitch markup in front, the pieces it
// synthesises one at a time, and the character counting of the synthesiser.
#include <cstddef>
#include <vector>

#include "platform/text.h"

namespace parlino::platform::linux_impl {

inline constexpr int kMinPitch = -10;
inline constexpr int kMaxPitch = 10;

struct SpeechText {
  TextView body;           // what is spoken
  std::size_t offset = 0;  // position of body[0] in the text as given
  int pitch = 0;           // relative pitch, kMinPitch .. kMaxPitch
};

// Removes a leading <pitch middle="n"> element (and a "</pitch>" that closes it at the very end
// of the text); the value is clamped to the pitch range. Any other text, markup-like or not, is
// left to be spoken as it stands.
SpeechText ParseSpeechText(TextView text);

struct PieceEnd {
  std::size_t end = 0;        // one past the piece's last code unit
  bool endsSentence = false;  // the piece stops after a sentence, so a sentence pause follows
};

// The piece of `text` that starts at `from` and holds at most `maxLength` code units: as many
// whole sentences as fit; else whole clauses, else whole words, else a hard cut that keeps
// surrogate pairs together. Never empty while `from` < text.size().
PieceEnd NextPiece(TextView text, std::size_t from, std::size_t maxLength);

// The UTF-16 offset of every code point of `text`, plus text.size() at the end. The synthesiser
// counts characters in code points; a lone surrogate counts as one (it becomes U+FFFD).
std::vector<std::size_t> CodePointOffsets(TextView text);

}  // namespace parlino::platform::linux_impl
