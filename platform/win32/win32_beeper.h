#pragma once
#include "platform/beep.h"

namespace parlino::platform::win32_impl {

// The system's warning sound (MessageBeep with MB_ICONEXCLAMATION).
class Win32Beeper final : public Beeper {
 public:
  void WarningBeep() override;
};

}  // namespace parlino::platform::win32_impl
