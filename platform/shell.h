#pragma once
#include "platform/text.h"

namespace parlino::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a web address, a file or a folder with the user's preferred program. Failures are
  // reported by the desktop, not by the caller.
  virtual void Open(TextView target) = 0;
};

}  // namespace parlino::platform
