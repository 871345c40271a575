#pragma once
#include "platform/message_boxes.h"

namespace parlino::platform::win32_impl {

// The system's modal message boxes (MessageBoxW). A box has no owner window: the program lives in
// the tray, so the box comes to the front of its own accord.
class Win32MessageBoxes final : public MessageBoxes {
 public:
  // Throws PlatformError when the box cannot be shown.
  BoxAnswer Show(BoxKind kind, TextView title, TextView text, BoxButtons buttons) override;
};

}  // namespace parlino::platform::win32_impl
