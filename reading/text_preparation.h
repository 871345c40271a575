#pragma once
// The filter every reading passes through between the capture and the voice: ignored characters
// become spaces, then the corrections are applied row after row, each on the result of the rows
// before it. Nothing else is done to the text.
#include <cstddef>
#include <vector>

#include "corrections/correction.h"
#include "platform/text.h"
#include "reading/pronunciation_settings.h"

namespace parlino::reading {

// Reads the settings and the corrections at the moment of the call.
Text PrepareText(Text raw, const PronunciationSettings& settings);

// The corrections step alone. The text goes through all rows piece by piece, `pieceLength`
// units at a time, so a long text is not copied once per row; the result does not depend on it.
inline constexpr std::size_t kCorrectionPieceLength = 16 * 1024;
Text ApplyCorrections(TextView text, const std::vector<corrections::Correction>& rows,
                      std::size_t pieceLength = kCorrectionPieceLength);

}  // namespace parlino::reading
