#pragma once
#include "platform/keyboard_input.h"
#include "platform/linux/x11_display.h"
#include "platform/pointer_buttons.h"

namespace parlino::platform::linux_impl {

// Synthetic keys through the XTEST extension and the pointer's buttons, on a display connection
// of its own. Without an X display no key can be sent and no button is down.
class X11Input final : public KeyboardInput, public PointerButtons {
 public:
  X11Input();
  X11Input(const X11Input&) = delete;
  X11Input& operator=(const X11Input&) = delete;

  void SendCopyKeys() override;
  bool MiddleButtonDown() override;

 private:
  X11Connection display_;
  bool canSynthesize_ = false;
};

}  // namespace parlino::platform::linux_impl
