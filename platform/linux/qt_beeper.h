#pragma once
#include "platform/beep.h"

namespace parlino::platform::linux_impl {

// The X bell, which the desktop turns into its warning sound.
class QtBeeper final : public Beeper {
 public:
  void WarningBeep() override;
};

}  // namespace parlino::platform::linux_impl
