#pragma once
// Display texts of hot key codes: "Shift+", "Ctrl+", "Alt+" and the key's name, as the hot key
// controls, the slot list and the slot editor show them.
#include <cstdint>
#include <functional>

#include "platform/text.h"

namespace parlino::reading {

// The system's name for a key the fixed table does not name; empty when it has none.
using SystemKeyName = std::function<Text(std::uint8_t virtualKey)>;

// Empty, modifiers included, when the key has no name.
Text HotKeyText(std::uint16_t code, const SystemKeyName& systemName = {});

}  // namespace parlino::reading
