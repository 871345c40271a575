#include "reading/selected_text.h"

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

  // A clipboard that cannot be backed up does not stop the capture; it is given back empty.
  platform::ClipboardSnapshot backup;
  try {
    backup = services_.clipboard.Backup();
  } catch (...) {
    // the backup stays empty
  }

  Text captured;
  try {
    services_.focusCopy.CopyFocusedSelection();
    services_.keyboard.SendCopyKeys();
    services_.pump.ProcessPendingMessages();
    services_.clock.Sleep(kCopyWait);
    services_.pump.ProcessPendingMessages();
    captured = ReadCopiedText();
  } catch (...) {
    // The copy may already have replaced the user's clipboard: give it back before reporting.
    try {
      RestoreClipboard(backup);
    } catch (const std::exception&) {
      // the first error is the one the caller hears about
    }
    throw;
  }
  RestoreClipboard(backup);
  return prepareText_(captured);
}

Text SelectedTextCapture::ReadCopiedText() {
  Text text;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (services_.clipboard.ReadText(text)) return text.substr(0, text.find(u'\0'));
    services_.clock.Sleep(kRetryWait);
  }
  return Text();
}

void SelectedTextCapture::RestoreClipboard(const platform::ClipboardSnapshot& backup) {
  for (int attempt = 0; attempt < kRestoreAttempts; ++attempt) {
    if (services_.clipboard.Restore(backup)) return;
    services_.clock.Sleep(kRetryWait);
  }
}

}  // namespace parlino::reading
