#pragma once
#include "platform/clipboard.h"

namespace parlino::platform::linux_impl {

// The CLIPBOARD selection through QClipboard. Qt asks another owner for its data with a round
// trip of its own and a time limit, so reading works while the caller blocks the user-interface
// thread; serving the restored data to others needs the event loop, which runs once the
// caller returns. ReadText and Restore first handle the events that are waiting (user input
// aside), so that they see the clipboard's current owner: handlers may run inside them.
class QtClipboard final : public Clipboard {
 public:
  ClipboardSnapshot Backup() override;
  bool Restore(const ClipboardSnapshot& snapshot) override;
  bool ReadText(Text& text) override;
};

}  // namespace parlino::platform::linux_impl
