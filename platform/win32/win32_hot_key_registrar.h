#pragma once
#include <functional>
#include <map>

#include "platform/hot_key_registrar.h"
#include "platform/win32/message_window.h"

namespace parlino::platform::win32_impl {

// Global hot keys with RegisterHotKey on a message-only window of the user-interface thread;
// WM_HOTKEY runs the registration's handler. A key held down reports one press, not one per
// auto-repeat (MOD_NOREPEAT), so holding a hot key starts one reading.
class Win32HotKeyRegistrar final : public HotKeyRegistrar {
 public:
  Win32HotKeyRegistrar();
  ~Win32HotKeyRegistrar() override;
  Win32HotKeyRegistrar(const Win32HotKeyRegistrar&) = delete;
  Win32HotKeyRegistrar& operator=(const Win32HotKeyRegistrar&) = delete;

  std::optional<int> Register(std::uint16_t code, std::function<void()> pressed) override;
  void Unregister(int identifier) override;

 private:
  void Pressed(int identifier);

  MessageWindow window_;
  std::map<int, std::function<void()>> registrations_;
  int lastIdentifier_ = 0;
};

// The RegisterHotKey modifiers and virtual key of a hot key code.
struct Win32HotKey {
  unsigned modifiers;
  unsigned virtualKey;
};
Win32HotKey ToWin32HotKey(std::uint16_t code);

}  // namespace parlino::platform::win32_impl
