#pragma once
#include <windows.h>

#include "platform/clipboard.h"
#include "platform/win32/message_window.h"

namespace parlino::platform::win32_impl {

// The Windows clipboard, opened for a message-only window of its own. A snapshot holds every
// format whose data can be copied: memory formats byte for byte and enhanced metafiles by their
// bits. Formats that are bare GDI handles (bitmaps, palettes, old metafiles, private GDI
// objects) are left out; the system makes them again from the formats that are kept (a bitmap
// from the device-independent bitmap, an old metafile from the enhanced one). A format's name is
// the name it was registered with, or "windows/<number>" for the system's own formats.
//
// An owner that renders its data only when asked is asked by the system, synchronously. So that a
// hung owner cannot hold the program, the owner's window must first answer a message within the
// limit; one that does not is taken to hand over nothing. An owner that answers but renders
// slowly is waited for.
class Win32Clipboard final : public Clipboard {
 public:
  Win32Clipboard();

  // Throws PlatformError when the clipboard cannot be opened.
  ClipboardSnapshot Backup(std::chrono::milliseconds limit) override;
  bool Restore(const ClipboardSnapshot& snapshot) override;
  // The Unicode text (CF_UNICODETEXT), which the system makes from the 8-bit texts too.
  bool ReadText(Text& text, std::chrono::milliseconds limit) override;
  // The clipboard's sequence number, which changes with every change of its content.
  void WatchOwner() override;
  bool OwnerChanged() override;

 private:
  MessageWindow owner_;
  bool watching_ = false;
  DWORD sequence_ = 0;            // the number after the last change that does not count
  bool changedByOthers_ = false;  // another program changed it before a Restore of ours
};

}  // namespace parlino::platform::win32_impl
