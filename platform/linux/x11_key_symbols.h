#pragma once
// Virtual keys, the key numbers hot key codes store, and the X11 key symbols of the same keys.
#include <cstdint>

namespace parlino::platform::linux_impl {

// The X11 key symbol (a KeySym) of `virtualKey`, or 0 (NoSymbol) when X11 has no name for it.
unsigned long KeySymOfVirtualKey(std::uint8_t virtualKey);

}  // namespace parlino::platform::linux_impl
