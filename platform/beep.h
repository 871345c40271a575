#pragma once
// The warning sound with which readings answer an error.

namespace parlino::platform {

class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void WarningBeep() = 0;
};

}  // namespace parlino::platform
