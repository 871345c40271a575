#include "platform/win32/win32_beeper.h"

#include <windows.h>

namespace parlino::platform::win32_impl {

void Win32Beeper::WarningBeep() {
  MessageBeep(MB_ICONEXCLAMATION);
}

}  // namespace parlino::platform::win32_impl
