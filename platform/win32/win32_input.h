#pragma once
#include "platform/keyboard_input.h"
#include "platform/pointer_buttons.h"

namespace parlino::platform::win32_impl {

// Synthetic keys with keybd_event and the mouse buttons' state with GetAsyncKeyState.
class Win32Input final : public KeyboardInput, public PointerButtons {
 public:
  // The application sees a plain Ctrl+C, and afterwards every modifier is down again exactly
  // when it was down before, Ctrl included: a user who holds Ctrl and presses the reading key
  // again must not have the key reach the document without Ctrl.
  void SendCopyKeys() override;
  bool MiddleButtonDown() override;
};

}  // namespace parlino::platform::win32_impl
