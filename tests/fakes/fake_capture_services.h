#pragma once
// Fakes of the services the capture of the selected text uses. Each records its calls in an
// optional shared journal, so tests can check the order of the steps across services.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/beep.h"
#include "platform/clipboard.h"
#include "platform/focus_copy.h"
#include "platform/keyboard_input.h"
#include "platform/platform_error.h"
#include "platform/pointer_buttons.h"

namespace parlino::testing {

using Journal = std::vector<std::string>;

inline void Note(Journal* journal, std::string entry) {
  if (journal != nullptr) journal->push_back(std::move(entry));
}

// A clipboard whose contents and answers the test scripts.
class FakeClipboard final : public platform::Clipboard {
 public:
  Journal* journal = nullptr;
  platform::ClipboardSnapshot contents;  // what Backup finds
  bool failBackup = false;               // Backup throws
  // One entry per ReadText call: a text, or nothing for a failed attempt. When the script runs
  // out, reading fails.
  std::deque<std::optional<Text>> reads;
  bool throwOnRead = false;
  // One entry per Restore call; when the script runs out, restoring succeeds.
  std::deque<bool> restores;
  std::vector<platform::ClipboardSnapshot> restored;  // every snapshot Restore was given

  platform::ClipboardSnapshot Backup() override {
    Note(journal, "backup");
    if (failBackup) throw PlatformError("clipboard busy");
    return contents;
  }
  bool Restore(const platform::ClipboardSnapshot& snapshot) override {
    Note(journal, "restore");
    restored.push_back(snapshot);
    if (restores.empty()) return true;
    const bool ok = restores.front();
    restores.pop_front();
    return ok;
  }
  bool ReadText(Text& text) override {
    Note(journal, "read");
    if (throwOnRead) throw PlatformError("clipboard read failed");
    if (reads.empty()) return false;
    const std::optional<Text> next = reads.front();
    reads.pop_front();
    if (!next) return false;
    text = *next;
    return true;
  }
};

class FakeKeyboardInput final : public platform::KeyboardInput {
 public:
  Journal* journal = nullptr;
  int copies = 0;
  bool fail = false;

  void SendCopyKeys() override {
    Note(journal, "keys");
    if (fail) throw PlatformError("no keyboard input");
    ++copies;
  }
};

class FakeFocusCopy final : public platform::FocusCopy {
 public:
  Journal* journal = nullptr;
  int copies = 0;

  void CopyFocusedSelection() override {
    Note(journal, "focus copy");
    ++copies;
  }
};

class FakePointerButtons final : public platform::PointerButtons {
 public:
  bool middleDown = false;
  bool MiddleButtonDown() override { return middleDown; }
};

class FakeBeeper final : public platform::Beeper {
 public:
  int beeps = 0;
  void WarningBeep() override { ++beeps; }
};

}  // namespace parlino::testing
