#pragma once
#include "platform/message_boxes.h"

namespace parlino::platform::linux_impl {

class QtMessageBoxes final : public MessageBoxes {
 public:
  BoxAnswer Show(BoxKind kind, TextView title, TextView text, BoxButtons buttons) override;
};

}  // namespace parlino::platform::linux_impl
