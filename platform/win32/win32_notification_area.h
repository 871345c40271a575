#pragma once
#include "platform/notification_area.h"

namespace parlino::platform::win32_impl {

// The taskbar's notification area: there while the shell's taskbar window ("Shell_TrayWnd")
// exists. When Explorer restarts it comes back, and the system says so to every top-level window
// with the "TaskbarCreated" message, on which the tray icon is added again.
class Win32NotificationArea final : public NotificationArea {
 public:
  bool Available() const override;
};

}  // namespace parlino::platform::win32_impl
