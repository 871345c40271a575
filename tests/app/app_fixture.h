#pragma once
// An options window over fakes and a fresh data folder, as the program entry would build it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

#include "app/ui/frm_main.h"
#include "app/ui/pages/default_voice_page.h"
#include "platform/linux/ini_profile_store.h"
#include "platform/linux/qt_downloads.h"
#include "tests/fakes/cp1252_code_page.h"
#include "tests/fakes/fake_capture_services.h"
#include "tests/fakes/fake_legacy_engines.h"
#include "tests/fakes/fake_message_pump.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_voice_server.h"
#include "tests/fakes/temp_dir.h"

namespace parlino::testing {

// Runs the event loop until `done` holds; false when it still does not after `timeout`.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// Runs the program's event loop until the program ends it; the loop's status, or nothing when
// it was still running after `timeout`.
inline std::optional<int> RunUntilQuit(
    std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  bool timedOut = false;
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, [&] {
    timedOut = true;
    QCoreApplication::exit(-1);
  });
  limit.start(timeout);
  const int status = QCoreApplication::exec();
  if (timedOut) return std::nullopt;
  return status;
}

// A control of a window by its name; a missing one ends the test with that name.
template <typename T>
T* Control(const QObject& window, const char* name) {
  T* found = window.findChild<T*>(name);
  if (found == nullptr) throw std::logic_error(std::string("no control named ") + name);
  return found;
}

class AppFixture {
 public:
  explicit AppFixture(std::vector<std::string> arguments = {"/opt/parlino/parlino"})
      : context{{dir.path(), dir.path()},
                "/opt/parlino/parlino",
                std::move(arguments),
                profiles,
                autostart,
                boxes,
                shell,
                voices,
                legacyEngines,
                codePage,
                hotKeys,
                clipboard,
                focusCopy,
                keyboard,
                pointer,
                beeper,
                clock,
                pump,
                notificationArea,
                downloads} {}

  app::TfrmMain& Form() {
    if (!form) form = std::make_unique<app::TfrmMain>(context);
    return *form;
  }

  // The options window with its voice catalogue built, as the startup sequence builds it.
  app::TfrmMain& Catalogue() {
    Form().DefaultVoice().LoadVoicesList();
    return *form;
  }

  template <typename T>
  T* Control(const char* name) {
    return testing::Control<T>(Form(), name);
  }

  std::filesystem::path Cfg() const { return dir / "cfg.ini"; }

  // The entries of debug.txt without their time of day.
  std::vector<std::string> LogEntries() const {
    std::vector<std::string> entries;
    std::istringstream lines(ReadBytes(dir / "debug.txt"));
    for (std::string line; std::getline(lines, line);) {
      // "hh:mm:ss entry\r"
      if (line.size() < 10 || line[2] != ':' || line.back() != '\r') {
        throw std::logic_error("not a log entry: " + line);
      }
      entries.push_back(line.substr(9, line.size() - 10));
    }
    return entries;
  }
  std::optional<Text> Stored(TextView section, TextView key) {
    return profiles.Read(Cfg(), section, key);
  }

  TempDir dir;
  platform::linux_impl::IniProfileStore profiles;
  FakeAutostartEntry autostart;
  FakeMessageBoxes boxes;
  FakeShell shell;
  FakeMessagePump pump;
  FakeVoiceServer voices{pump, {u"Anna", u"Bob"}};
  FakeLegacyEngineServer legacyEngines;
  Cp1252CodePage codePage;
  FakeHotKeyRegistrar hotKeys;
  FakeClipboard clipboard;
  FakeFocusCopy focusCopy;
  FakeKeyboardInput keyboard;
  FakePointerButtons pointer;
  FakeBeeper beeper;
  VirtualClock clock;
  FakeNotificationArea notificationArea;
  platform::linux_impl::QtDownloads downloads;
  app::AppContext context;
  std::unique_ptr<app::TfrmMain> form;
};

}  // namespace parlino::testing
