#pragma once
#include "platform/global_atoms.h"

namespace parlino::platform::win32_impl {

// GlobalFindAtomW and GlobalDeleteAtom.
class Win32GlobalAtoms final : public GlobalAtoms {
 public:
  bool ReleaseIfPresent(TextView name) override;
};

}  // namespace parlino::platform::win32_impl
