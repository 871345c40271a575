#include "platform/win32/win32_notification_area.h"

#include <windows.h>

namespace parlino::platform::win32_impl {

bool Win32NotificationArea::Available() const {
  return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

}  // namespace parlino::platform::win32_impl
