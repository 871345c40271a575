#pragma once
// The system's table of global atoms: names any program may add and others may look up.
#include "platform/text.h"

namespace parlino::platform {

class GlobalAtoms {
 public:
  virtual ~GlobalAtoms() = default;
  // When an atom of this name exists, releases it once (one reference) and returns true.
  virtual bool ReleaseIfPresent(TextView name) = 0;
};

}  // namespace parlino::platform
