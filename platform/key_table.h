#pragma once
// The one table of the keys that hot key codes are made of: for each virtual key, the name hot
// key texts give it and the name of its X11 key symbol. Everything that turns a virtual key into
// a text or a key of another system reads it here.
#include <cstdint>
#include <string>

#include "platform/text.h"

namespace parlino::platform {

struct KeyNames {
  // "BkSp", "A", "F12"; empty for a key that the system names (the hot key text asks it).
  Text hotKeyText;
  // "BackSpace", "a", "F12", as XStringToKeysym reads them; empty when X11 has no such key.
  std::string x11KeySym;
};

// The names of `virtualKey`; both empty for a key the table does not know.
const KeyNames& KeyNamesOf(std::uint8_t virtualKey);

}  // namespace parlino::platform
