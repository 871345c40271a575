#include "platform/linux/x11_hot_key_registrar.h"

// Qt before X11, whose macros (Bool, Status, None) would break Qt's headers.
#include <QMetaObject>
#include <QSocketNotifier>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include "platform/linux/x11_key_symbols.h"

namespace parlino::platform::linux_impl {
namespace {

// Counts the X errors of one connection between its construction and Caught(). Xlib reports
// a refused grab asynchronously, so Caught() waits for the server's answers first.
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display) : display_(display) {
    XSync(display, False);  // errors of earlier requests are not the trap's
    trapped_ = display;
    errors_ = 0;
    previous_ = XSetErrorHandler(&Handle);
  }
  ~ErrorTrap() {
    XSetErrorHandler(previous_);
    trapped_ = nullptr;
  }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  bool Caught() {
    XSync(display_, False);
    return errors_ > 0;
  }

 private:
  static int Handle(Display* display, XErrorEvent* error) {
    if (display == trapped_) {
      ++errors_;
      return 0;
    }
    return previous_ != nullptr ? previous_(display, error) : 0;
  }

  Display* display_;
  static inline Display* trapped_ = nullptr;
  static inline int errors_ = 0;
  static inline XErrorHandler previous_ = nullptr;
};

struct ModifierMasks {
  unsigned alt = Mod1Mask;
  unsigned numLock = 0;
};

// Where Alt and NumLock sit in the current modifier map.
ModifierMasks ReadModifierMasks(Display* display) {
  ModifierMasks masks;
  bool altFound = false;
  XModifierKeymap* map = XGetModifierMapping(display);
  for (int modifier = 0; modifier < 8; ++modifier) {
    for (int i = 0; i < map->max_keypermod; ++i) {
      const KeyCode keycode = map->modifiermap[modifier * map->max_keypermod + i];
      if (keycode == 0) continue;
      const KeySym sym = XkbKeycodeToKeysym(display, keycode, 0, 0);
      if (sym == XK_Num_Lock) masks.numLock = 1u << modifier;
      if ((sym == XK_Alt_L || sym == XK_Alt_R) && !altFound) {
        masks.alt = 1u << modifier;
        altFound = true;
      }
    }
  }
  XFreeModifiermap(map);
  return masks;
}

// A hot key must work whatever the state of NumLock and CapsLock.
std::vector<unsigned> LockStates(unsigned numLockMask) {
  if (numLockMask == 0) return {0, LockMask};
  return {0, LockMask, numLockMask, LockMask | numLockMask};
}

void Ungrab(Display* display, unsigned keycode, unsigned modifiers,
            const std::vector<unsigned>& lockStates) {
  for (const unsigned locks : lockStates) {
    XUngrabKey(display, static_cast<int>(keycode), modifiers | locks, DefaultRootWindow(display));
  }
}

bool Grab(Display* display, unsigned keycode, unsigned modifiers,
          const std::vector<unsigned>& lockStates) {
  ErrorTrap trap(display);
  for (const unsigned locks : lockStates) {
    XGrabKey(display, static_cast<int>(keycode), modifiers | locks, DefaultRootWindow(display),
             False, GrabModeAsync, GrabModeAsync);
  }
  if (!trap.Caught()) return true;
  // Another client holds one of the states (BadAccess): release the ones that were granted.
  Ungrab(display, keycode, modifiers, lockStates);
  XSync(display, False);
  return false;
}

// Raw key releases reach every client that asks, whatever holds the keyboard: they tell when
// a hot key is let go even after its grab was handed back.
bool ListenToKeyReleases(Display* display, int& opcode) {
  int event = 0;
  int error = 0;
  if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) return false;
  int major = 2;
  int minor = 2;
  if (XIQueryVersion(display, &major, &minor) != Success) return false;
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_RawKeyRelease);
  XIEventMask mask{XIAllDevices, sizeof bits, bits};
  XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
  XFlush(display);
  return true;
}

}  // namespace

X11HotKeyRegistrar::X11HotKeyRegistrar() {
  X11Connection display = OpenX11Display();
  if (!display || !ListenToKeyReleases(display.get(), inputOpcode_)) return;
  display_ = std::move(display);
  notifier_ =
      std::make_unique<QSocketNotifier>(ConnectionNumber(display_.get()), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadEvents(); });
}

X11HotKeyRegistrar::~X11HotKeyRegistrar() {
  notifier_.reset();
  // Closing the connection releases its grabs.
  display_.reset();
}

std::optional<int> X11HotKeyRegistrar::Register(std::uint16_t code, std::function<void()> pressed) {
  auto* display = display_.get();
  if (display == nullptr) return std::nullopt;
  const KeySym sym = KeySymOfVirtualKey(static_cast<std::uint8_t>(code & 0xFF));
  const unsigned keycode = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
  if (keycode == 0) return std::nullopt;  // no key of this keyboard makes it

  const ModifierMasks masks = ReadModifierMasks(display);
  unsigned modifiers = 0;
  if (code & kHotKeyShift) modifiers |= ShiftMask;
  if (code & kHotKeyCtrl) modifiers |= ControlMask;
  if (code & kHotKeyAlt) modifiers |= masks.alt;
  // Grabbing again what this connection holds is no error in X11, but it is a refusal here.
  for (const auto& [identifier, registration] : registrations_) {
    if (registration.keycode == keycode && registration.modifiers == modifiers) {
      return std::nullopt;
    }
  }
  std::vector<unsigned> lockStates = LockStates(masks.numLock);
  const bool granted = Grab(display, keycode, modifiers, lockStates);
  ReadQueuedEventsLater();
  if (!granted) return std::nullopt;
  registrations_[++lastIdentifier_] = {keycode, modifiers, std::move(lockStates),
                                       std::move(pressed)};
  return lastIdentifier_;
}

void X11HotKeyRegistrar::Unregister(int identifier) {
  const auto found = registrations_.find(identifier);
  if (found == registrations_.end()) return;
  auto* display = display_.get();
  Ungrab(display, found->second.keycode, found->second.modifiers, found->second.lockStates);
  // As on Windows, the combination is free for other programs once this returns.
  XSync(display, False);
  ReadQueuedEventsLater();
  registrations_.erase(found);
}

void X11HotKeyRegistrar::ConnectionLost() {
  if (notifier_) notifier_->setEnabled(false);
  // Closing a broken connection would only report the break again: the process ends soon.
  static_cast<void>(display_.release());
  registrations_.clear();
}

void X11HotKeyRegistrar::ReadEvents() {
  auto* display = display_.get();
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == KeyPress) {
      KeyPressed(event.xkey.keycode, event.xkey.state);
    } else if (event.type == GenericEvent && event.xcookie.extension == inputOpcode_ &&
               XGetEventData(display, &event.xcookie)) {
      if (event.xcookie.evtype == XI_RawKeyRelease) {
        keysHeld_.erase(
            static_cast<unsigned>(static_cast<XIRawEvent*>(event.xcookie.data)->detail));
      }
      XFreeEventData(display, &event.xcookie);
    } else if (event.type == MappingNotify) {
      XRefreshKeyboardMapping(&event.xmapping);
    }
  }
}

// Round trips read events into Xlib's queue, where the socket notifier does not see them.
void X11HotKeyRegistrar::ReadQueuedEventsLater() {
  if (XQLength(display_.get()) == 0) return;
  QMetaObject::invokeMethod(
      notifier_.get(), [this] { ReadEvents(); }, Qt::QueuedConnection);
}

void X11HotKeyRegistrar::KeyPressed(unsigned keycode, unsigned state) {
  // The grab has made the whole keyboard ours until the key goes up. Hand it back at once: the
  // capture's synthetic Ctrl+C must reach the application in front, not this connection.
  auto* display = display_.get();
  XUngrabKeyboard(display, CurrentTime);
  XFlush(display);

  for (const auto& [identifier, registration] : registrations_) {
    const unsigned locks = LockMask | registration.lockStates.back();
    const unsigned modifiers = state & 0xFF & ~locks;  // the eight modifier bits, locks aside
    if (registration.keycode != keycode || registration.modifiers != modifiers) continue;
    // A held key repeats its press without a release: only the first press counts.
    if (!keysHeld_.insert(keycode).second) return;
    const std::function<void()> pressed = registration.pressed;  // the handler may unregister
    pressed();
    return;
  }
}

}  // namespace parlino::platform::linux_impl
