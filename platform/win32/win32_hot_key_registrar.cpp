#include "platform/win32/win32_hot_key_registrar.h"

#include <windows.h>

namespace parlino::platform::win32_impl {
namespace {

// Applications may use the identifiers 1 to 0xBFFF; the rest belongs to shared libraries.
constexpr int kLastIdentifier = 0xBFFF;

}  // namespace

Win32HotKey ToWin32HotKey(std::uint16_t code) {
  unsigned modifiers = MOD_NOREPEAT;
  if (code & kHotKeyCtrl) modifiers |= MOD_CONTROL;
  if (code & kHotKeyShift) modifiers |= MOD_SHIFT;
  if (code & kHotKeyAlt) modifiers |= MOD_ALT;
  return {modifiers, static_cast<unsigned>(code & ~(kHotKeyCtrl | kHotKeyShift | kHotKeyAlt))};
}

Win32HotKeyRegistrar::Win32HotKeyRegistrar()
    : window_([this](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message != WM_HOTKEY) return false;
        Pressed(static_cast<int>(wParam));
        return true;
      }) {}

Win32HotKeyRegistrar::~Win32HotKeyRegistrar() {
  for (const auto& registration : registrations_) {
    UnregisterHotKey(window_.handle(), registration.first);
  }
}

std::optional<int> Win32HotKeyRegistrar::Register(std::uint16_t code,
                                                  std::function<void()> pressed) {
  // The next identifier that is free, wrapping round after the last one.
  int identifier = lastIdentifier_;
  do {
    identifier = identifier >= kLastIdentifier ? 1 : identifier + 1;
  } while (registrations_.contains(identifier) && identifier != lastIdentifier_);
  if (registrations_.contains(identifier)) return std::nullopt;

  const Win32HotKey key = ToWin32HotKey(code);
  if (!RegisterHotKey(window_.handle(), identifier, key.modifiers, key.virtualKey)) {
    return std::nullopt;  // another program, or an earlier registration, holds the combination
  }
  lastIdentifier_ = identifier;
  registrations_[identifier] = std::move(pressed);
  return identifier;
}

void Win32HotKeyRegistrar::Unregister(int identifier) {
  if (registrations_.erase(identifier) == 0) return;
  UnregisterHotKey(window_.handle(), identifier);
}

void Win32HotKeyRegistrar::Pressed(int identifier) {
  const auto found = registrations_.find(identifier);
  if (found == registrations_.end()) return;
  // The handler may unregister its own hot key, which destroys the stored function.
  const std::function<void()> pressed = found->second;
  if (pressed) pressed();
}

}  // namespace parlino::platform::win32_impl
