// The hot key registrar against a real X server; keys are pressed with xdotool.
#include "platform/linux/x11_hot_key_registrar.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/linux/x11_key_symbols.h"
#include "platform/virtual_keys.h"
#include "tests/platform/x11_test_support.h"

// X11 last: its macros clash with Qt's and GoogleTest's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/record.h>
#include <X11/keysym.h>

namespace parlino::platform::linux_impl {
namespace {

using namespace std::chrono_literals;
using testing::RunTool;
using testing::WaitFor;
using Calls = std::vector<std::string>;

constexpr std::uint16_t kCtrlBackspace = kHotKeyCtrl | vk::kBack;  // 16392, the reading hot key
constexpr std::uint16_t kCtrlF5 = kHotKeyCtrl | (vk::kF1 + 4);
constexpr std::uint16_t kCtrlF6 = kHotKeyCtrl | (vk::kF1 + 5);

void Xdotool(const QStringList& arguments) {
  RunTool("xdotool", arguments);
}

// Another client of the display, to hold combinations and look at the keyboard's state.
class OtherClient {
 public:
  OtherClient() : display_(XOpenDisplay(nullptr)) {}
  ~OtherClient() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  // Whether the server granted the grab of `keysym` with exactly `modifiers`.
  bool Grab(KeySym keysym, unsigned modifiers) {
    XSync(display_, False);
    errors_ = 0;
    const XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) {
      ++errors_;
      return 0;
    });
    XGrabKey(display_, XKeysymToKeycode(display_, keysym), modifiers, DefaultRootWindow(display_),
             False, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    XSetErrorHandler(previous);
    return errors_ == 0;
  }

  unsigned LockedModifiers() {
    XkbStateRec state{};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    return state.locked_mods;
  }

 private:
  Display* display_;
  static inline int errors_ = 0;
};

// Every key press the server handles, auto-repeats included, as its RECORD extension reports
// them: a repeat goes to the client whose grab it activates and to nobody else.
class KeyPressRecorder {
 public:
  KeyPressRecorder() : control_(XOpenDisplay(nullptr)), data_(XOpenDisplay(nullptr)) {
    XRecordRange* range = XRecordAllocRange();
    range->device_events.first = KeyPress;
    range->device_events.last = KeyPress;
    XRecordClientSpec clients = XRecordAllClients;
    context_ = XRecordCreateContext(control_, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(control_, False);
    XRecordEnableContextAsync(data_, context_, &Intercept, reinterpret_cast<XPointer>(this));
    started_ = WaitFor([this] {
      XRecordProcessReplies(data_);
      return recording_;
    });
  }
  ~KeyPressRecorder() {
    XRecordDisableContext(control_, context_);
    XRecordFreeContext(control_, context_);
    XSync(control_, False);
    XCloseDisplay(data_);
    XCloseDisplay(control_);
  }
  KeyPressRecorder(const KeyPressRecorder&) = delete;
  KeyPressRecorder& operator=(const KeyPressRecorder&) = delete;

  bool Started() const { return started_; }
  int Presses(KeySym keysym) {
    XRecordProcessReplies(data_);
    return presses_[XKeysymToKeycode(control_, keysym)];
  }

 private:
  static void Intercept(XPointer self, XRecordInterceptData* data) {
    auto* recorder = reinterpret_cast<KeyPressRecorder*>(self);
    if (data->category == XRecordStartOfData) recorder->recording_ = true;
    if (data->category == XRecordFromServer && (data->data[0] & 0x7F) == KeyPress) {
      ++recorder->presses_[data->data[1]];
    }
    XRecordFreeData(data);
  }

  Display* control_;
  Display* data_;  // the recording's replies arrive here
  XRecordContext context_ = 0;
  bool recording_ = false;
  bool started_ = false;
  std::map<unsigned, int> presses_;  // by keycode
};

class X11HotKeyRegistrarTest : public ::testing::Test {
 protected:
  // Registers `code` with a handler that writes `name` down and checks the thread it runs on.
  std::optional<int> RegisterLogging(std::uint16_t code, const std::string& name) {
    return registrar.Register(code, [this, name] {
      calls.push_back(name);
      onUserInterfaceThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    });
  }

  // Waits for a call of `name`. The X server sends a client its key events in order, so every
  // call that an earlier key could have made has been made by then.
  bool WaitForCall(const std::string& name, std::size_t count = 1) {
    return WaitFor([&] {
      return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), name)) >= count;
    });
  }

  X11HotKeyRegistrar registrar;
  Calls calls;
  bool onUserInterfaceThread = false;
};

TEST_F(X11HotKeyRegistrarTest, APressCallsTheHandlerOnceOnTheUserInterfaceThread) {
  const std::optional<int> identifier = RegisterLogging(kCtrlBackspace, "reading");
  ASSERT_TRUE(identifier.has_value());
  EXPECT_GT(*identifier, 0);
  ASSERT_TRUE(RegisterLogging(kCtrlF5, "sentinel").has_value());

  // Other combinations of the same key are not this hot key.
  Xdotool({"key", "ctrl+BackSpace", "BackSpace", "shift+ctrl+BackSpace", "alt+ctrl+BackSpace",
           "ctrl+F5"});
  ASSERT_TRUE(WaitForCall("sentinel"));
  EXPECT_EQ(calls, (Calls{"reading", "sentinel"}));
  EXPECT_TRUE(onUserInterfaceThread);

  Xdotool({"key", "ctrl+BackSpace"});
  EXPECT_TRUE(WaitForCall("reading", 2));
}

TEST_F(X11HotKeyRegistrarTest, WorksWhateverTheLockKeysSay) {
  ASSERT_TRUE(RegisterLogging(kCtrlBackspace, "reading").has_value());
  OtherClient observer;
  Xdotool({"key", "Num_Lock"});
  ASSERT_NE(observer.LockedModifiers() & Mod2Mask, 0u) << "NumLock did not come on";
  Xdotool({"key", "ctrl+BackSpace"});
  EXPECT_TRUE(WaitForCall("reading", 1));

  Xdotool({"key", "Caps_Lock"});
  ASSERT_NE(observer.LockedModifiers() & LockMask, 0u) << "CapsLock did not come on";
  Xdotool({"key", "ctrl+BackSpace"});
  EXPECT_TRUE(WaitForCall("reading", 2));

  Xdotool({"key", "Num_Lock"});
  Xdotool({"key", "ctrl+BackSpace"});
  EXPECT_TRUE(WaitForCall("reading", 3));
  Xdotool({"key", "Caps_Lock"});
  EXPECT_EQ(observer.LockedModifiers() & (Mod2Mask | LockMask), 0u);
}

TEST_F(X11HotKeyRegistrarTest, AHeldKeyDoesNotCallTheHandlerAgain) {
  ASSERT_TRUE(RegisterLogging(kCtrlBackspace, "reading").has_value());
  ASSERT_TRUE(RegisterLogging(kCtrlF5, "sentinel").has_value());
  KeyPressRecorder recorder;
  ASSERT_TRUE(recorder.Started());
  Xdotool({"keydown", "ctrl+BackSpace"});
  ASSERT_TRUE(WaitForCall("reading"));
  // The server repeats the held key, and one more press of it comes besides; then F5 with the
  // Control key still down.
  ASSERT_TRUE(WaitFor([&] { return recorder.Presses(XK_BackSpace) >= 3; }))
      << "the server did not repeat the held key";
  Xdotool({"keydown", "BackSpace"});
  Xdotool({"key", "F5"});
  ASSERT_TRUE(WaitForCall("sentinel"));
  Xdotool({"keyup", "BackSpace", "keyup", "ctrl"});
  EXPECT_EQ(calls, (Calls{"reading", "sentinel"}));

  // Once let go, the next press counts again.
  Xdotool({"key", "ctrl+BackSpace"});
  EXPECT_TRUE(WaitForCall("reading", 2));
}

TEST_F(X11HotKeyRegistrarTest, RefusesWhatAnotherClientHoldsAndKeepsNothingOfIt) {
  OtherClient other;
  // The other client holds the combination in one lock state only.
  ASSERT_TRUE(other.Grab(XK_F5, ControlMask | Mod2Mask));
  EXPECT_FALSE(RegisterLogging(kCtrlF5, "refused").has_value());

  // The lock states that had been granted were given back.
  OtherClient third;
  EXPECT_TRUE(third.Grab(XK_F5, ControlMask));
  EXPECT_TRUE(third.Grab(XK_F5, ControlMask | LockMask));
}

TEST_F(X11HotKeyRegistrarTest, RefusesItsOwnCombinationTwiceAndReleasesItOnUnregister) {
  const std::optional<int> first = RegisterLogging(kCtrlF5, "first");
  ASSERT_TRUE(first.has_value());
  EXPECT_FALSE(RegisterLogging(kCtrlF5, "again").has_value());
  OtherClient other;
  EXPECT_FALSE(other.Grab(XK_F5, ControlMask | LockMask));

  registrar.Unregister(*first);
  const std::optional<int> second = RegisterLogging(kCtrlF5, "second");
  ASSERT_TRUE(second.has_value());
  EXPECT_NE(*second, *first);  // a new identifier each time
  EXPECT_GT(*second, 0);
  registrar.Unregister(*second);

  // An unregistered hot key calls nothing.
  ASSERT_TRUE(RegisterLogging(kCtrlF6, "sentinel").has_value());
  Xdotool({"key", "ctrl+F5", "ctrl+F6"});
  ASSERT_TRUE(WaitForCall("sentinel"));
  EXPECT_EQ(calls, (Calls{"sentinel"}));

  // Once Unregister returns, the combination is free for other programs.
  EXPECT_TRUE(other.Grab(XK_F5, ControlMask));
  EXPECT_TRUE(other.Grab(XK_F5, ControlMask | LockMask | Mod2Mask));
}

TEST_F(X11HotKeyRegistrarTest, KeysOfEveryKindCanBeHotKeys) {
  const std::uint16_t codes[] = {
      kHotKeyAlt | vk::kA,          kHotKeyShift | kHotKeyCtrl | vk::k0,
      kHotKeyCtrl | vk::kNumpad0,   kHotKeyCtrl | vk::kF1,
      kHotKeyCtrl | (vk::kF1 + 11), kHotKeyAlt | vk::kSpace,
      kHotKeyCtrl | vk::kOem4,      kHotKeyShift | vk::kPause,
      kHotKeyCtrl | vk::kMultiply,  kHotKeyShift | kHotKeyAlt | vk::kDelete,
  };
  const char* keys[] = {
      "alt+a",     "shift+ctrl+0",     "ctrl+KP_Insert", "ctrl+F1",          "ctrl+F12",
      "alt+space", "ctrl+bracketleft", "shift+Pause",    "ctrl+KP_Multiply", "shift+alt+Delete"};
  std::vector<int> hits(std::size(codes), 0);
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    SCOPED_TRACE(keys[i]);
    ASSERT_TRUE(registrar.Register(codes[i], [&hits, i] { ++hits[i]; }).has_value());
  }
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    SCOPED_TRACE(keys[i]);
    Xdotool({"key", keys[i]});
    EXPECT_TRUE(WaitFor([&] { return hits[i] == 1; }));
  }
  // A key without a name cannot be grabbed.
  EXPECT_FALSE(RegisterLogging(kHotKeyCtrl | 0xFF, "nameless").has_value());
}

TEST(X11KeySymbolsTest, NamesTheKeysOfHotKeyTexts) {
  struct Case {
    std::uint8_t virtualKey;
    const char* keySym;  // nullptr: X11 has no name for it
  };
  const Case cases[] = {
      {vk::kBack, "BackSpace"},
      {vk::kTab, "Tab"},
      {vk::kReturn, "Return"},
      {vk::kEscape, "Escape"},
      {vk::kSpace, "space"},
      {vk::kPrior, "Prior"},
      {vk::kNext, "Next"},
      {vk::kEnd, "End"},
      {vk::kHome, "Home"},
      {vk::kLeft, "Left"},
      {vk::kUp, "Up"},
      {vk::kRight, "Right"},
      {vk::kDown, "Down"},
      {vk::kInsert, "Insert"},
      {vk::kDelete, "Delete"},
      {vk::k0, "0"},
      {vk::k0 + 9, "9"},
      {vk::kA, "a"},
      {vk::kA + 25, "z"},
      {vk::kNumpad0, "KP_0"},
      {vk::kNumpad0 + 9, "KP_9"},
      {vk::kF1, "F1"},
      {vk::kF24, "F24"},
      {vk::kOem1, "semicolon"},
      {vk::kOem7, "apostrophe"},
      {vk::kSnapshot, "Print"},
      {vk::kDivide, "KP_Divide"},
      {0xAD, "XF86AudioMute"},
      {0x07, nullptr},
      {0xFF, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.virtualKey);
    const unsigned long sym = KeySymOfVirtualKey(c.virtualKey);
    if (c.keySym == nullptr) {
      EXPECT_EQ(sym, 0u);
    } else {
      ASSERT_NE(sym, 0u);
      EXPECT_STREQ(XKeysymToString(sym), c.keySym);
    }
  }
}

}  // namespace
}  // namespace parlino::platform::linux_impl
