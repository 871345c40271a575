#pragma once
// cfg.ini: where it lies and the names of its sections. Which keys each section holds, and the
// order they are read and written in, belongs to the options window and its pages.
#include <filesystem>

#include "platform/folders.h"
#include "platform/text.h"

namespace parlino::app {

inline constexpr TextView kGeneral = u"General";
inline constexpr TextView kPronunciation = u"Pronunciation";
inline constexpr TextView kSpeech = u"Speech";

inline std::filesystem::path CfgPath(const platform::Folders& folders) {
  return folders.dataFolder / "cfg.ini";
}

}  // namespace parlino::app
