#pragma once
// Problems that do not stop the program but that the user should hear of: the settings or the
// log cannot be written, there is no audio device. The first problem of each kind in a run is
// told to the user; every problem goes to the log when "-log" is on.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings/debug_log.h"
#include "platform/message_boxes.h"
#include "platform/text.h"

namespace parlino::app {

class UserNotices {
 public:
  enum class Kind {
    Settings,  // the settings cannot be read or saved: told in a warning box
    Log,       // debug.txt cannot be written: told in a warning box
    Audio,     // told at the tray icon, where a reading starts, or in a box without a tray
  };

  UserNotices(platform::MessageBoxes& boxes, const DebugLogFile& log) : boxes_(boxes), log_(log) {}

  // Shows a message at the tray icon; false when the desktop shows none. Set by the window once
  // its tray icon exists.
  std::function<bool(TextView)> trayMessage;

  // Logs `problem` and, when it is the first of its kind in this run, tells the user `notice`.
  void Report(Kind kind, TextView notice, std::string_view problem);
  // Logs an error that the program otherwise handles silently.
  void Log(std::string_view problem) const;

  // While held (the startup sequence runs) notices wait; Release tells them, those for a box in
  // one box.
  void Hold() { held_ = true; }
  void Release();

 private:
  void Tell(Kind kind, TextView notice);

  platform::MessageBoxes& boxes_;
  const DebugLogFile& log_;
  bool told_[3] = {false, false, false};
  bool held_ = false;
  std::vector<std::pair<Kind, Text>> waiting_;
};

}  // namespace parlino::app
