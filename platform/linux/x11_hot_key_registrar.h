#pragma once
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/hot_key_registrar.h"
#include "platform/linux/x11_display.h"

class QSocketNotifier;

namespace parlino::platform::linux_impl {

// Global hot keys as passive grabs of their key on the root window, in every NumLock and
// CapsLock state. The grabs live on a display connection of their own, whose events are read
// on the user-interface thread through a socket notifier: that way a refused grab is seen at
// once (an error trap and a round trip, away from Qt's own error handling), and the raw key
// releases that end a held hot key can be listened to without touching Qt's connection.
// Without an X display, or without the XInput2 extension, every combination is refused.
class X11HotKeyRegistrar final : public HotKeyRegistrar {
 public:
  X11HotKeyRegistrar();
  ~X11HotKeyRegistrar() override;
  X11HotKeyRegistrar(const X11HotKeyRegistrar&) = delete;
  X11HotKeyRegistrar& operator=(const X11HotKeyRegistrar&) = delete;

  std::optional<int> Register(std::uint16_t code, std::function<void()> pressed) override;
  void Unregister(int identifier) override;

  // The X server is gone, and its grabs with it: from now on nothing is sent to it.
  void ConnectionLost();

 private:
  struct Registration {
    unsigned keycode;
    unsigned modifiers;                // X11 modifier mask without the lock modifiers
    std::vector<unsigned> lockStates;  // the lock masks grabbed with it
    std::function<void()> pressed;
  };

  void ReadEvents();
  void ReadQueuedEventsLater();
  void KeyPressed(unsigned keycode, unsigned state);

  X11Connection display_;
  int inputOpcode_ = 0;  // the XInput extension's major opcode
  std::map<int, Registration> registrations_;
  std::set<unsigned> keysHeld_;  // keys of hot keys pressed and not yet released
  int lastIdentifier_ = 0;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace parlino::platform::linux_impl
