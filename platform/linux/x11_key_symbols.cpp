#include "platform/linux/x11_key_symbols.h"

#include <X11/Xlib.h>

#include "platform/key_table.h"

namespace parlino::platform::linux_impl {

unsigned long KeySymOfVirtualKey(std::uint8_t virtualKey) {
  const std::string& name = KeyNamesOf(virtualKey).x11KeySym;
  return name.empty() ? NoSymbol : XStringToKeysym(name.c_str());
}

}  // namespace parlino::platform::linux_impl
