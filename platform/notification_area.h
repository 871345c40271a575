#pragma once
// The desktop's notification area (the system tray), where the program's icon lives.

namespace parlino::platform {

class NotificationArea {
 public:
  virtual ~NotificationArea() = default;
  // Whether the desktop shows one now; it may come and go while the program runs.
  virtual bool Available() const = 0;
};

}  // namespace parlino::platform
