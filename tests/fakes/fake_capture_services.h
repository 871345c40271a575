#pragma once
// Fakes of the services the capture of the selected text uses. Each records its calls in an
// optional shared journal, so tests can check the order of the steps across services.
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/beep.h"
#include "platform/clipboard.h"
#include "platform/focus_copy.h"
#include "platform/keyboard_input.h"
#include "platform/platform_error.h"
#include "platform/pointer_buttons.h"
#include "platform/primary_selection.h"
#include "tests/fakes/fake_platform.h"

namespace parlino::testing {

using Journal = std::vector<std::string>;

inline void Note(Journal* journal, std::string entry) {
  if (journal != nullptr) journal->push_back(std::move(entry));
}

// A clipboard whose contents and answers the test scripts. With a virtual clock, it also
// plays the time: the copy that changes its owner, and owners that keep the caller waiting.
class FakeClipboard final : public platform::Clipboard {
 public:
  using Time = std::chrono::milliseconds;

  Journal* journal = nullptr;
  VirtualClock* clock = nullptr;
  platform::ClipboardSnapshot contents;  // what Backup finds
  bool failBackup = false;               // Backup throws
  bool backupHangs = false;              // the owner hands nothing over: Backup takes its limit
  // One entry per ReadText call: a text, or nothing for a failed attempt. When the script runs
  // out, reading fails.
  std::deque<std::optional<Text>> reads;
  bool throwOnRead = false;
  bool readsHang = false;  // every read takes its whole limit and fails
  // One entry per Restore call; when the script runs out, restoring succeeds.
  std::deque<bool> restores;
  std::vector<platform::ClipboardSnapshot> restored;  // every snapshot Restore was given
  // When, after WatchOwner, another program takes the clipboard; never without a value.
  std::optional<Time> ownerChangesAfter = Time::zero();
  bool failWatch = false;
  std::vector<Time> readTimes;   // the clock at each ReadText
  std::vector<Time> readLimits;  // the limit each ReadText was given

  platform::ClipboardSnapshot Backup(Time limit) override {
    Note(journal, "backup");
    if (failBackup) throw PlatformError("clipboard busy");
    if (backupHangs) {
      Pass(limit);
      return {};
    }
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
  bool ReadText(Text& text, Time limit) override {
    Note(journal, "read");
    readTimes.push_back(Now());
    readLimits.push_back(limit);
    if (throwOnRead) throw PlatformError("clipboard read failed");
    if (readsHang) {
      Pass(limit);
      return false;
    }
    if (reads.empty()) return false;
    const std::optional<Text> next = reads.front();
    reads.pop_front();
    if (!next) return false;
    text = *next;
    return true;
  }
  void WatchOwner() override {
    if (failWatch) throw PlatformError("no way to watch the clipboard");
    watchedSince_ = Now();
  }
  bool OwnerChanged() override {
    return ownerChangesAfter && watchedSince_ && Now() >= *watchedSince_ + *ownerChangesAfter;
  }

 private:
  Time Now() const { return clock != nullptr ? clock->now : Time::zero(); }
  void Pass(Time duration) {
    if (clock != nullptr) clock->now += duration;
  }

  std::optional<Time> watchedSince_;
};

// The text highlighted in some window, or nothing.
class FakePrimarySelection final : public platform::PrimarySelection {
 public:
  using Time = std::chrono::milliseconds;

  Journal* journal = nullptr;
  std::optional<Text> highlighted;
  bool fail = false;
  std::function<void()> whileReading;  // runs during each read, as the owner's answer is awaited
  std::vector<Time> limits;            // the limit each read was given

  bool ReadPrimaryText(Text& text, Time limit) override {
    Note(journal, "primary");
    limits.push_back(limit);
    if (whileReading) whileReading();
    if (fail) throw PlatformError("no primary selection");
    if (!highlighted) return false;
    text = *highlighted;
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
