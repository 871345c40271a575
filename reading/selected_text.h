#pragma once
// The capture of the selected text: the foreground application copies its selection to the
// clipboard, the capture reads it and gives the user's clipboard back as it was. Where no copy
// can reach the application (a Wayland session), the highlighted text is read instead.
#include <chrono>
#include <functional>
#include <stdexcept>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/focus_copy.h"
#include "platform/keyboard_input.h"
#include "platform/primary_selection.h"
#include "platform/text.h"

namespace parlino::reading {

// The waits of one capture. The application in front gets up to kCopyWaitLimit to copy, and
// the capture reads as soon as the clipboard says it did; the retries are bounds for a
// clipboard that refuses. No wait runs past kCaptureLimit from the start of the capture: an
// owner that hangs or dies costs at most that long.
inline constexpr std::chrono::milliseconds kBackupLimit{300};     // for the owner to hand over
inline constexpr std::chrono::milliseconds kCopyWaitLimit{1000};  // for the application to copy
inline constexpr std::chrono::milliseconds kCopyPoll{2};          // how often the wait looks
inline constexpr std::chrono::milliseconds kRetryWait{150};       // between failed attempts
inline constexpr std::chrono::milliseconds kCaptureLimit{1300};   // the whole capture
inline constexpr int kReadAttempts = 5;
inline constexpr int kRestoreAttempts = 3;

struct CaptureServices {
  platform::Clipboard& clipboard;
  platform::FocusCopy& focusCopy;
  platform::KeyboardInput& keyboard;
  platform::Clock& clock;
  platform::MessagePump& pump;
  // Where the system has one (X11, and Wayland through XWayland).
  platform::PrimarySelection* primarySelection = nullptr;
};

// Turns the raw captured text into the text to read.
using PrepareTextFunction = std::function<Text(TextView raw)>;

// GetSelectedText or GetHighlightedText was called while a capture was under way.
class CaptureBusy : public std::logic_error {
 public:
  CaptureBusy() : std::logic_error("a capture is already under way") {}
};

class SelectedTextCapture {
 public:
  SelectedTextCapture(CaptureServices services, PrepareTextFunction prepareText)
      : services_(services), prepareText_(std::move(prepareText)) {}

  // The prepared text of the selection in the foreground application, empty when nothing could
  // be read. When the application copies nothing, the text the clipboard already held is read.
  // The clipboard is given back as it was whenever the copy changed it. Runs on the
  // user-interface thread and processes pending messages while it waits. Errors of the platform
  // services pass to the caller, after the clipboard was restored.
  Text GetSelectedText();
  // The prepared text the user highlighted (the primary selection), empty when nothing is
  // highlighted. Sends no keys and leaves the clipboard untouched. Errors of the platform
  // services pass to the caller; without a primary selection it throws PlatformError.
  Text GetHighlightedText();

  // True from the start to the end of GetSelectedText or GetHighlightedText. Reading requests
  // that arrive meanwhile
  // (handlers run while the capture processes messages) must be ignored: two captures that
  // interleave would lose the user's clipboard. A nested GetSelectedText throws CaptureBusy.
  bool CaptureInProgress() const { return inProgress_; }

 private:
  using Time = std::chrono::milliseconds;
  bool WaitForCopy(Time until);
  Text ReadCopiedText(Time deadline);
  void RestoreClipboard(const platform::ClipboardSnapshot& backup, Time deadline);
  Time Left(Time deadline);

  CaptureServices services_;
  PrepareTextFunction prepareText_;
  bool inProgress_ = false;
};

}  // namespace parlino::reading
