#pragma once
// The filter every reading passes through between the capture and the voice: ignored characters
// become spaces, then the corrections are applied row after row, each on the result of the rows
// before it. Nothing else is done to the text.
#include "platform/text.h"
#include "reading/pronunciation_settings.h"

namespace parlino::reading {

// Reads the settings and the corrections at the moment of the call.
Text PrepareText(Text raw, const PronunciationSettings& settings);

}  // namespace parlino::reading
