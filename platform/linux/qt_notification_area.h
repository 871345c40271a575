#pragma once
#include <QSystemTrayIcon>

#include "platform/notification_area.h"

namespace parlino::platform::linux_impl {

// On X11 a tray host owns the system tray selection of the screen.
class QtNotificationArea final : public NotificationArea {
 public:
  bool Available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
};

}  // namespace parlino::platform::linux_impl
