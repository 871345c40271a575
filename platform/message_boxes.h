#pragma once
// Modal message boxes with fixed texts.
#include "platform/text.h"

namespace parlino::platform {

enum class BoxKind { Information, Warning, Confirmation, Plain, Error };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Cancel, Yes, No };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the box and waits for the user's answer; events keep flowing meanwhile.
  virtual BoxAnswer Show(BoxKind kind, TextView title, TextView text, BoxButtons buttons) = 0;
};

}  // namespace parlino::platform
