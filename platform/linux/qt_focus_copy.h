#pragma once
#include "platform/focus_copy.h"

namespace parlino::platform::linux_impl {

// Copies the selection of the focused line edit or text edit of the program's active window.
class QtFocusCopy final : public FocusCopy {
 public:
  void CopyFocusedSelection() override;
};

}  // namespace parlino::platform::linux_impl
