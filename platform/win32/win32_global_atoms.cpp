#include "platform/win32/win32_global_atoms.h"

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {

bool Win32GlobalAtoms::ReleaseIfPresent(TextView name) {
  const ATOM atom = GlobalFindAtomW(Wide(name).c_str());
  if (atom == 0) return false;
  GlobalDeleteAtom(atom);
  return true;
}

}  // namespace parlino::platform::win32_impl
