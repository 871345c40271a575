#pragma once
// How the corrections list and its editor let the user hear a pronunciation: with the default
// voice, through the engines a reading uses, so the speech start and end events and the tray
// animation follow as they do for a reading. The options window provides it.
#include "platform/text.h"

namespace parlino::corrections {

class PronunciationVoice {
 public:
  virtual ~PronunciationVoice() = default;
  // Readies the default voice and speaks `text` (with the default voice's pitch). With
  // `interrupt`, speech still playing is cut off first; without it, a modern voice speaks once
  // that speech has ended. Errors reach the caller.
  virtual void SpeakPronunciation(TextView text, bool interrupt) = 0;
};

}  // namespace parlino::corrections
