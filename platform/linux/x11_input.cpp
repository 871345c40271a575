#include "platform/linux/x11_input.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

using KeyStates = std::array<char, 32>;

KeyStates QueryKeys(Display* display) {
  KeyStates keys{};
  XQueryKeymap(display, keys.data());
  return keys;
}

bool IsDown(const KeyStates& keys, KeyCode keycode) {
  return (static_cast<unsigned char>(keys[keycode / 8]) >> (keycode % 8)) & 1u;
}

bool IsLockKey(Display* display, KeyCode keycode) {
  const KeySym sym = XkbKeycodeToKeysym(display, keycode, 0, 0);
  return sym == XK_Num_Lock || sym == XK_Caps_Lock || sym == XK_Shift_Lock || sym == XK_Scroll_Lock;
}

// Modifier keys the user holds, the lock keys aside: Shift, Ctrl, Alt, Super, AltGr...
struct HeldKeys {
  std::vector<KeyCode> others;  // every modifier but Ctrl
  bool ctrl = false;
};

HeldKeys HeldModifiers(Display* display) {
  const KeyStates keys = QueryKeys(display);
  HeldKeys held;
  XModifierKeymap* map = XGetModifierMapping(display);
  for (int modifier = 0; modifier < 8; ++modifier) {
    if (modifier == LockMapIndex) continue;
    for (int i = 0; i < map->max_keypermod; ++i) {
      const KeyCode keycode = map->modifiermap[modifier * map->max_keypermod + i];
      if (keycode == 0 || !IsDown(keys, keycode) || IsLockKey(display, keycode)) continue;
      if (modifier == ControlMapIndex) {
        held.ctrl = true;
      } else if (std::find(held.others.begin(), held.others.end(), keycode) == held.others.end()) {
        held.others.push_back(keycode);
      }
    }
  }
  XFreeModifiermap(map);
  return held;
}

// Lifts `held` and returns the keys that went up. The server ignores the release of a key that
// another keyboard device holds; such a key must not be pressed again afterwards, or it would
// stay down for good.
std::vector<KeyCode> LiftModifiers(Display* display, std::vector<KeyCode> held) {
  if (held.empty()) return held;
  for (const KeyCode keycode : held) XTestFakeKeyEvent(display, keycode, False, CurrentTime);
  XSync(display, False);
  const KeyStates keys = QueryKeys(display);
  std::erase_if(held, [&](KeyCode keycode) { return IsDown(keys, keycode); });
  return held;
}

// Keeps Xlib's copy of the keyboard map current; the connection asks for no other events.
void TakeMappingChanges(Display* display) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
  }
}

// While it lives, the server serves this connection alone: a key another program sends meanwhile
// (xdotool's release of the hot key's Ctrl, say) cannot slip between the keys read and the keys
// sent, which would turn the copy into a plain C or leave a modifier down for good.
class ServerGrab {
 public:
  explicit ServerGrab(Display* display) : display_(display) { XGrabServer(display_); }
  ~ServerGrab() {
    XUngrabServer(display_);
    XFlush(display_);
  }
  ServerGrab(const ServerGrab&) = delete;
  ServerGrab& operator=(const ServerGrab&) = delete;

 private:
  Display* display_;
};

}  // namespace

X11Input::X11Input() {
  display_ = OpenX11Display();
  Display* display = display_.get();
  if (display == nullptr) return;
  int event = 0;
  int error = 0;
  int major = 0;
  int minor = 0;
  canSynthesize_ = XTestQueryExtension(display, &event, &error, &major, &minor);
}

void X11Input::SendCopyKeys() {
  Display* display = display_.get();
  if (display == nullptr) throw PlatformError("There is no X display to send Ctrl+C to.");
  if (!canSynthesize_) throw PlatformError("The X server cannot synthesize keys (no XTEST).");
  TakeMappingChanges(display);
  const KeyCode ctrl = XKeysymToKeycode(display, XK_Control_L);
  const KeyCode c = XKeysymToKeycode(display, XK_c);
  if (ctrl == 0 || c == 0) throw PlatformError("The keyboard map has no Ctrl or C key.");

  // The user may still hold Shift or Alt from the hot key; the application must see Ctrl+C
  // alone, not Ctrl+Shift+C. A Ctrl the user holds already makes C a Ctrl+C, and is left down:
  // releasing it would hand the user's next key to the application without Ctrl.
  const ServerGrab grab(display);
  const HeldKeys held = HeldModifiers(display);
  const std::vector<KeyCode> lifted = LiftModifiers(display, held.others);
  if (!held.ctrl) XTestFakeKeyEvent(display, ctrl, True, CurrentTime);
  XTestFakeKeyEvent(display, c, True, CurrentTime);
  XTestFakeKeyEvent(display, c, False, CurrentTime);
  if (!held.ctrl) XTestFakeKeyEvent(display, ctrl, False, CurrentTime);
  // What the user still holds is down again, as the keyboard says.
  for (const KeyCode keycode : lifted) XTestFakeKeyEvent(display, keycode, True, CurrentTime);
  XSync(display, False);
}

bool X11Input::MiddleButtonDown() {
  Display* display = display_.get();
  if (display == nullptr) return false;
  Window root = 0;
  Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int x = 0;
  int y = 0;
  unsigned int mask = 0;
  XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
  return (mask & Button2Mask) != 0;
}

}  // namespace parlino::platform::linux_impl
