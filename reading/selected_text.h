#pragma once
// The capture of the selected text: the foreground application copies its selection to the
// clipboard, the capture reads it and gives the user's clipboard back as it was.
#include <chrono>
#include <functional>
#include <stdexcept>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/focus_copy.h"
#include "platform/keyboard_input.h"
#include "platform/text.h"

namespace parlino::reading {

inline constexpr std::chrono::milliseconds kCopyWait{100};   // for the application to copy
inline constexpr std::chrono::milliseconds kRetryWait{150};  // after each failed attempt
inline constexpr int kReadAttempts = 5;
inline constexpr int kRestoreAttempts = 3;

struct CaptureServices {
  platform::Clipboard& clipboard;
  platform::FocusCopy& focusCopy;
  platform::KeyboardInput& keyboard;
  platform::Clock& clock;
  platform::MessagePump& pump;
};

// Turns the raw captured text into the text to read.
using PrepareTextFunction = std::function<Text(TextView raw)>;

// GetSelectedText was called while a capture was under way.
class CaptureBusy : public std::logic_error {
 public:
  CaptureBusy() : std::logic_error("a capture is already under way") {}
};

class SelectedTextCapture {
 public:
  SelectedTextCapture(CaptureServices services, PrepareTextFunction prepareText)
      : services_(services), prepareText_(std::move(prepareText)) {}

  // The prepared text of the selection in the foreground application, empty when nothing could
  // be read. Runs on the user-interface thread and processes pending messages while it waits.
  // Errors of the platform services pass to the caller, after the clipboard was restored.
  Text GetSelectedText();

  // True from the start to the end of GetSelectedText. Reading requests that arrive meanwhile
  // (handlers run while the capture processes messages) must be ignored: two captures that
  // interleave would lose the user's clipboard. A nested GetSelectedText throws CaptureBusy.
  bool CaptureInProgress() const { return inProgress_; }

 private:
  Text ReadCopiedText();
  void RestoreClipboard(const platform::ClipboardSnapshot& backup);

  CaptureServices services_;
  PrepareTextFunction prepareText_;
  bool inProgress_ = false;
};

}  // namespace parlino::reading
