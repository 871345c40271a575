#pragma once
// Synthetic keyboard input for the application that has the keyboard focus.

namespace parlino::platform {

class KeyboardInput {
 public:
  virtual ~KeyboardInput() = default;
  // Ctrl down, C down, C up, Ctrl up, so that the focused application copies its selection.
  // Other modifiers the user still holds are lifted around it, so the application sees a plain
  // Ctrl+C, and are down again afterwards; a Ctrl the user holds stays down throughout. The
  // keyboard's state afterwards is the one the user's hands make. Throws PlatformError when no
  // input can be synthesized.
  virtual void SendCopyKeys() = 0;
};

}  // namespace parlino::platform
