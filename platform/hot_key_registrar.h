#pragma once
// System-wide hot keys: a key combination that reaches the program whatever has the focus.
#include <cstdint>
#include <functional>
#include <optional>

namespace parlino::platform {

// Modifier bits of a hot key code; the low byte is the virtual-key code.
inline constexpr std::uint16_t kHotKeyShift = 0x2000;
inline constexpr std::uint16_t kHotKeyCtrl = 0x4000;
inline constexpr std::uint16_t kHotKeyAlt = 0x8000;

class HotKeyRegistrar {
 public:
  virtual ~HotKeyRegistrar() = default;
  // Registers `code`; `pressed` runs on the user-interface thread at every press. Returns the
  // registration's identifier (a new positive one each time), or nothing when the system refuses
  // the combination (another program, or an earlier registration of this one, holds it).
  virtual std::optional<int> Register(std::uint16_t code, std::function<void()> pressed) = 0;
  virtual void Unregister(int identifier) = 0;
};

}  // namespace parlino::platform
