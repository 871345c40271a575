#pragma once
// The state of the pointer's buttons, polled rather than listened to.

namespace parlino::platform {

class PointerButtons {
 public:
  virtual ~PointerButtons() = default;
  // Whether the middle button (the wheel) is down at this moment.
  virtual bool MiddleButtonDown() = 0;
};

}  // namespace parlino::platform
