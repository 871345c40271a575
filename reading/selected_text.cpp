#include "reading/selected_text.h"

#include <algorithm>

#include "platform/platform_error.h"

namespace parlino::reading {
namespace {

class InProgressFlag {
 public:
  explicit InProgressFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~InProgressFlag() { flag_ = false; }
  InProgressFlag(const InProgressFlag&) = delete;
  InProgressFlag& operator=(const InProgressFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

Text SelectedTextCapture::GetSelectedText() {
  if (inProgress_) throw CaptureBusy();
  const InProgressFlag flag(inProgress_);
  const Time deadline = services_.clock.Now() + kCaptureLimit;

  // A clipboard that cannot be backed up does not stop the capture; it is given back empty.
  platform::ClipboardSnapshot backup;
  try {
    backup = services_.clipboard.Backup(kBackupLimit);
  } catch (...) {
    // the backup stays empty
  }

  Text captured;
  bool copyMaySpoilTheClipboard = false;
  bool restore = true;
  try {
    services_.clipboard.WatchOwner();
    copyMaySpoilTheClipboard = true;
    services_.focusCopy.CopyFocusedSelection();
    services_.keyboard.SendCopyKeys();
    // A copy that comes late still leaves time for one read before the capture ends.
    const bool copied =
        WaitForCopy(std::min(services_.clock.Now() + kCopyWaitLimit, deadline - kRetryWait));
    // Without a copy the clipboard still holds the user's text, which is read in its place.
    captured = ReadCopiedText(deadline);
    // A copy may also land while that text is read: the user's clipboard comes back after it.
    restore = copied || services_.clipboard.OwnerChanged();
  } catch (...) {
    // The copy may already have replaced the user's clipboard: give it back before reporting.
    if (copyMaySpoilTheClipboard) {
      try {
        RestoreClipboard(backup, deadline);
      } catch (const std::exception&) {
        // the first error is the one the caller hears about
      }
    }
    throw;
  }
  // An owner that never changed still holds everything; a restore could only lose what the
  // backup did not get.
  if (restore) RestoreClipboard(backup, deadline);
  return prepareText_(captured);
}

Text SelectedTextCapture::GetHighlightedText() {
  if (inProgress_) throw CaptureBusy();
  const InProgressFlag flag(inProgress_);
  if (services_.primarySelection == nullptr) {
    throw PlatformError("This system has no primary selection to read.");
  }
  // One read: an owner that answers answers at once, and one that hangs gets the whole bound.
  Text text;
  if (!services_.primarySelection->ReadPrimaryText(text, kCaptureLimit)) text.clear();
  return prepareText_(text.substr(0, text.find(u'\0')));
}

bool SelectedTextCapture::WaitForCopy(Time until) {
  services_.pump.ProcessPendingMessages();
  while (!services_.clipboard.OwnerChanged()) {
    const Time left = Left(until);
    if (left == Time::zero()) return false;
    services_.clock.Sleep(std::min(kCopyPoll, left));
    services_.pump.ProcessPendingMessages();
  }
  return true;
}

Text SelectedTextCapture::ReadCopiedText(Time deadline) {
  Text text;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (attempt > 0) {
      // No room for the wait and a read after it.
      if (Left(deadline) <= kRetryWait) break;
      services_.clock.Sleep(kRetryWait);
    }
    if (services_.clipboard.ReadText(text, Left(deadline))) {
      return text.substr(0, text.find(u'\0'));
    }
  }
  return Text();
}

void SelectedTextCapture::RestoreClipboard(const platform::ClipboardSnapshot& backup,
                                           Time deadline) {
  // The first attempt runs whatever the time: the user's clipboard matters more than the bound.
  for (int attempt = 0; attempt < kRestoreAttempts; ++attempt) {
    if (attempt > 0) {
      const Time left = Left(deadline);
      if (left == Time::zero()) return;
      services_.clock.Sleep(std::min(kRetryWait, left));
    }
    if (services_.clipboard.Restore(backup)) return;
  }
}

SelectedTextCapture::Time SelectedTextCapture::Left(Time deadline) {
  return std::max(deadline - services_.clock.Now(), Time::zero());
}

}  // namespace parlino::reading
