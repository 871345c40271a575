#pragma once
// The voice catalogue: one list of the voices of both speech generations, the legacy engine
// modes first (in engine order), then the modern voices. These are its rules; the list itself is
// the "Default voice" tab's list, and everything that names a voice goes through them.
#include <cstdint>
#include <optional>

#include "platform/text.h"

namespace parlino::speech {

// Appended to a modern voice's description in the list; the files store names without it.
inline constexpr TextView kSapi5Suffix = u" (SAPI5)";

// The generation of a voice, as the settings and slot files store it beside the voice's name.
enum class VoiceGeneration : std::int32_t { Sapi4 = 4, Sapi5 = 5 };

// The generation a file's stored number names; nothing for any other number.
constexpr std::optional<VoiceGeneration> StoredGeneration(std::int32_t stored) {
  if (stored == static_cast<std::int32_t>(VoiceGeneration::Sapi4)) return VoiceGeneration::Sapi4;
  if (stored == static_cast<std::int32_t>(VoiceGeneration::Sapi5)) return VoiceGeneration::Sapi5;
  return std::nullopt;
}

struct CatalogueEntry {
  VoiceGeneration generation;
  // The mode's position in the legacy component's Engines, or the voice's position in the
  // modern voice list (GetVoices with two empty strings).
  std::int32_t position;

  friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;
};

// The engine behind a catalogue index: an index below sapi4Count is legacy mode `index`, any
// other index is modern voice `index - sapi4Count`. Throws std::out_of_range for a negative
// index (no entry).
CatalogueEntry EntryAt(std::int32_t index, std::int32_t sapi4Count);

// A legacy mode is shown by its speaker when that is strictly shorter than the mode name. The
// speaker is nullopt when the mode could not be selected to learn it.
Text Sapi4DisplayName(TextView modeName, std::optional<TextView> speaker);
Text Sapi5DisplayName(TextView description);

// The name the files store for an entry: a modern voice's description (its display name without
// the suffix), a legacy mode's display name unchanged.
Text StoredVoiceName(TextView displayName, VoiceGeneration generation);

}  // namespace parlino::speech
