#pragma once
// The voice package catalogue add_voices.ini, installed with the program and only ever read:
// [Info] Count=n, then one section File_1 .. File_n per package with Title, Size and URL.
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/profile_store.h"
#include "platform/text.h"

namespace parlino::voices {

struct VoicePackage {
  Text title;
  Text size;  // shown as it stands
  Text url;
  // The installer's name in the downloads folder; nothing when the address gives no safe one.
  std::optional<Text> fileName;
};

// The packages in catalogue order. Count is taken as an 8-bit number, as it always was, so 256
// lists none; a missing or unreadable catalogue lists none either.
std::vector<VoicePackage> ReadPackageCatalogue(platform::ProfileStore& store,
                                               const std::filesystem::path& catalogue);

}  // namespace parlino::voices
