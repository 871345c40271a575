#pragma once
#include <memory>

#include "platform/clipboard.h"
#include "platform/primary_selection.h"

namespace parlino::platform::linux_impl {

// The CLIPBOARD selection on a display connection of its own, with every wait bounded: an
// owner that hangs or dies costs at most the limit a call is given. Restore makes this program
// the owner, serving the snapshot exactly as the owner it came from did (targets, their order,
// bytes and types) from a SelectionServer thread. XFixes reports every change of owner; between
// calls, a socket notifier on the Qt event loop reads and drops those reports. On leaving, a
// clipboard manager, if one runs, is asked to keep what this program holds.
// The PRIMARY selection is read on the same connection, with the same bounds; it is never
// written.
class X11Clipboard final : public Clipboard, public PrimarySelection {
 public:
  X11Clipboard();
  ~X11Clipboard() override;
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  ClipboardSnapshot Backup(std::chrono::milliseconds limit) override;
  bool Restore(const ClipboardSnapshot& snapshot) override;
  bool ReadText(Text& text, std::chrono::milliseconds limit) override;
  void WatchOwner() override;
  bool OwnerChanged() override;

  bool ReadPrimaryText(Text& text, std::chrono::milliseconds limit) override;

 private:
  struct State;  // the connection, the served snapshot and the watch, away from Xlib's macros
  std::unique_ptr<State> state_;
};

}  // namespace parlino::platform::linux_impl
