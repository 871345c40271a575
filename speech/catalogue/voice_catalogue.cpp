#include "speech/catalogue/voice_catalogue.h"

#include <stdexcept>

namespace parlino::speech {

CatalogueEntry EntryAt(std::int32_t index, std::int32_t sapi4Count) {
  if (index < 0) throw std::out_of_range("No voice is selected");
  if (index < sapi4Count) return {VoiceGeneration::Sapi4, index};
  return {VoiceGeneration::Sapi5, index - sapi4Count};
}

Text Sapi4DisplayName(TextView modeName, std::optional<TextView> speaker) {
  if (speaker && speaker->size() < modeName.size()) return Text(*speaker);
  return Text(modeName);
}

Text Sapi5DisplayName(TextView description) {
  return Text(description) + Text(kSapi5Suffix);
}

Text StoredVoiceName(TextView displayName, VoiceGeneration generation) {
  // Only the suffix the catalogue added goes: a description that itself holds "(SAPI5)" keeps it,
  // so the name still finds its entry when it is read back.
  if (generation == VoiceGeneration::Sapi5 && displayName.ends_with(kSapi5Suffix)) {
    displayName.remove_suffix(kSapi5Suffix.size());
  }
  return Text(displayName);
}

}  // namespace parlino::speech
