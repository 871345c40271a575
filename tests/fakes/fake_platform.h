#pragma once
// Fakes of the small platform services: they record what the program asked for and answer as
// the test scripts them.
#include <deque>
#include <map>
#include <vector>

#include "platform/autostart_entry.h"
#include "platform/clock.h"
#include "platform/hot_key_registrar.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/platform_error.h"
#include "platform/shell.h"

namespace parlino::testing {

class FakeAutostartEntry final : public platform::AutostartEntry {
 public:
  std::optional<Text> command;
  bool failWrites = false;

  std::optional<Text> Read() override { return command; }
  void Write(const std::filesystem::path& program, TextView arguments) override {
    if (failWrites) throw PlatformError("autostart refused");
    command = FromUtf8(program.string()) + Text(arguments);
  }
  void Remove() override {
    if (failWrites) throw PlatformError("autostart refused");
    command.reset();
  }
};

struct ShownBox {
  platform::BoxKind kind;
  Text title;
  Text text;
  platform::BoxButtons buttons;
};

class FakeMessageBoxes final : public platform::MessageBoxes {
 public:
  std::vector<ShownBox> shown;
  std::deque<platform::BoxAnswer> answers;  // scripted answers; Ok when none is left

  platform::BoxAnswer Show(platform::BoxKind kind, TextView title, TextView text,
                           platform::BoxButtons buttons) override {
    shown.push_back({kind, Text(title), Text(text), buttons});
    if (answers.empty()) return platform::BoxAnswer::Ok;
    const platform::BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class FakeShell final : public platform::Shell {
 public:
  std::vector<Text> opened;
  std::vector<Text> shownInFolder;
  bool refuseOpen = false;  // no program for anything, as on a desktop without handlers

  bool Open(TextView target) override {
    opened.emplace_back(target);
    return !refuseOpen;
  }
  bool ShowInFolder(TextView file) override {
    shownInFolder.emplace_back(file);
    return true;
  }
};

// Grants every combination once, like the system: a second registration of a held code fails.
class FakeHotKeyRegistrar final : public platform::HotKeyRegistrar {
 public:
  std::map<int, std::uint16_t> registered;  // identifier -> code
  std::map<int, std::function<void()>> handlers;
  std::vector<std::uint16_t> refused;  // codes other programs hold

  std::optional<int> Register(std::uint16_t code, std::function<void()> pressed) override {
    for (const auto& [id, held] : registered) {
      if (held == code) return std::nullopt;
    }
    for (const std::uint16_t held : refused) {
      if (held == code) return std::nullopt;
    }
    registered[++lastIdentifier_] = code;
    handlers[lastIdentifier_] = std::move(pressed);
    return lastIdentifier_;
  }
  void Unregister(int identifier) override {
    registered.erase(identifier);
    handlers.erase(identifier);
  }
  bool Holds(std::uint16_t code) const {
    for (const auto& [id, held] : registered) {
      if (held == code) return true;
    }
    return false;
  }
  // Presses the combination, as the user would.
  bool Press(std::uint16_t code) {
    for (const auto& [id, held] : registered) {
      if (held == code) {
        handlers.at(id)();
        return true;
      }
    }
    return false;
  }

 private:
  int lastIdentifier_ = 0;
};

class FakeNotificationArea final : public platform::NotificationArea {
 public:
  bool available = true;
  bool Available() const override { return available; }
};

// Time stands still until a test or the code under test sleeps.
class VirtualClock final : public platform::Clock {
 public:
  std::chrono::milliseconds now{0};
  std::vector<std::chrono::milliseconds> sleeps;

  std::chrono::milliseconds Now() override { return now; }
  void Sleep(std::chrono::milliseconds duration) override {
    sleeps.push_back(duration);
    now += duration;
  }
};

}  // namespace parlino::testing
