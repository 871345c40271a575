#pragma once
#include "platform/focus_copy.h"

namespace parlino::platform::win32_impl {

// WM_COPY to the window that has the keyboard focus in this thread: GetFocus names a window of
// the program itself, or none when another application is in front.
class Win32FocusCopy final : public FocusCopy {
 public:
  void CopyFocusedSelection() override;
};

}  // namespace parlino::platform::win32_impl
