// Hot keys, synthetic keys, the mouse buttons and the focus copy under Wine, against windows of
// the test itself that are in front.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/hot_key_registrar.h"
#include "platform/win32/win32_focus_copy.h"
#include "platform/win32/win32_hot_key_registrar.h"
#include "platform/win32/win32_input.h"
#include "tests/win32/win32_test_support.h"

namespace parlino {
namespace {

using namespace platform::win32_impl;
using platform::kHotKeyAlt;
using platform::kHotKeyCtrl;
using platform::kHotKeyShift;
using testing::PumpUntil;

void Key(BYTE key, bool down) {
  keybd_event(key, static_cast<BYTE>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)),
              down ? 0 : KEYEVENTF_KEYUP, 0);
}

void Tap(BYTE key) {
  Key(key, true);
  Key(key, false);
}

bool Down(int key) {
  return (static_cast<unsigned short>(GetAsyncKeyState(key)) & 0x8000u) != 0;
}

TEST(Win32HotKeyRegistrar, APressRunsItsHandlerOnce) {
  Win32HotKeyRegistrar hotKeys;
  int presses = 0;
  const auto id = hotKeys.Register(kHotKeyCtrl | VK_F11, [&] { ++presses; });
  ASSERT_TRUE(id.has_value());
  EXPECT_GT(*id, 0);

  // Held long enough to repeat: the key goes down twice before it comes up.
  Key(VK_CONTROL, true);
  Key(VK_F11, true);
  Key(VK_F11, true);
  Key(VK_F11, false);
  Key(VK_CONTROL, false);
  ASSERT_TRUE(PumpUntil([&] { return presses >= 1; }));
  // A second press afterwards is the only other one counted.
  Key(VK_CONTROL, true);
  Tap(VK_F11);
  Key(VK_CONTROL, false);
  ASSERT_TRUE(PumpUntil([&] { return presses >= 2; }));
  EXPECT_EQ(presses, 2);
}

TEST(Win32HotKeyRegistrar, TheModifiersMustMatch) {
  Win32HotKeyRegistrar hotKeys;
  std::vector<std::string> pressed;
  ASSERT_TRUE(
      hotKeys.Register(kHotKeyCtrl | kHotKeyShift | 'R', [&] { pressed.push_back("C+S+R"); }));
  ASSERT_TRUE(hotKeys.Register(kHotKeyAlt | VK_BACK, [&] { pressed.push_back("A+BkSp"); }));

  Key(VK_CONTROL, true);
  Tap('R');  // Ctrl+R alone is not the hot key
  Key(VK_SHIFT, true);
  Tap('R');
  Key(VK_SHIFT, false);
  Key(VK_CONTROL, false);
  Key(VK_MENU, true);
  Tap(VK_BACK);
  Key(VK_MENU, false);
  ASSERT_TRUE(PumpUntil([&] { return pressed.size() >= 2; }));
  EXPECT_EQ(pressed, (std::vector<std::string>{"C+S+R", "A+BkSp"}));
}

TEST(Win32HotKeyRegistrar, ASecondRegistrationOfTheSameCombinationIsRefused) {
  Win32HotKeyRegistrar hotKeys;
  const auto first = hotKeys.Register(kHotKeyCtrl | VK_F12, [] {});
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(hotKeys.Register(kHotKeyCtrl | VK_F12, [] {}), std::nullopt);
  // Another program's registration holds it just the same.
  Win32HotKeyRegistrar other;
  EXPECT_EQ(other.Register(kHotKeyCtrl | VK_F12, [] {}), std::nullopt);

  hotKeys.Unregister(*first);
  int presses = 0;
  const auto again = other.Register(kHotKeyCtrl | VK_F12, [&] { ++presses; });
  ASSERT_TRUE(again.has_value());
  Key(VK_CONTROL, true);
  Tap(VK_F12);
  Key(VK_CONTROL, false);
  EXPECT_TRUE(PumpUntil([&] { return presses == 1; }));
}

TEST(Win32HotKeyRegistrar, AHandlerMayUnregisterItsOwnHotKey) {
  Win32HotKeyRegistrar hotKeys;
  std::optional<int> id;
  int presses = 0;
  id = hotKeys.Register(kHotKeyCtrl | VK_F9, [&] {
    ++presses;
    hotKeys.Unregister(*id);
  });
  ASSERT_TRUE(id.has_value());
  Key(VK_CONTROL, true);
  Tap(VK_F9);
  Key(VK_CONTROL, false);
  ASSERT_TRUE(PumpUntil([&] { return presses == 1; }));
  EXPECT_TRUE(hotKeys.Register(kHotKeyCtrl | VK_F9, [] {}).has_value());
}

// A window in front that notes the keys it receives and the modifiers it sees with each.
class KeyWindow {
 public:
  KeyWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ParlinoKeyWindow";
    RegisterClassExW(&windowClass);
    window_ = CreateWindowExW(0, L"ParlinoKeyWindow", L"Keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10,
                              10, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    EXPECT_TRUE(testing::BringToFront(window_, window_));
  }
  ~KeyWindow() { DestroyWindow(window_); }

  // "+Ctrl" for a key going down, "-Ctrl" for one going up.
  std::vector<std::string> keys;
  std::string modifiersAtC;  // what GetKeyState says while C goes down

 private:
  static std::string Name(WPARAM key) {
    switch (key) {
      case VK_CONTROL:
        return "Ctrl";
      case VK_SHIFT:
        return "Shift";
      case VK_MENU:
        return "Alt";
      case 'C':
        return "C";
      default:
        return "key" + std::to_string(key);
    }
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<KeyWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    if (self != nullptr && (down || up)) {
      self->keys.push_back((down ? "+" : "-") + Name(wParam));
      if (down && wParam == 'C') {
        for (const auto& [key, name] : {std::pair{VK_CONTROL, "Ctrl"}, std::pair{VK_SHIFT, "Shift"},
                                        std::pair{VK_MENU, "Alt"}}) {
          if (GetKeyState(key) < 0) self->modifiersAtC += name;
        }
      }
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

TEST(Win32Input, TheWindowInFrontSeesAPlainCtrlC) {
  KeyWindow front;
  Win32Input().SendCopyKeys();
  ASSERT_TRUE(PumpUntil([&] { return front.keys.size() >= 4; }));
  EXPECT_EQ(front.keys, (std::vector<std::string>{"+Ctrl", "+C", "-C", "-Ctrl"}));
  EXPECT_EQ(front.modifiersAtC, "Ctrl");
  EXPECT_FALSE(Down(VK_CONTROL));
}

TEST(Win32Input, ModifiersTheUserHoldsAreDownAgainAfterwards) {
  struct Case {
    BYTE held;
    const char* keysym;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      // Shift is lifted around C and pressed again.
      {VK_LSHIFT, "Shift_L", {"+Ctrl", "-Shift", "+C", "-C", "+Shift", "-Ctrl"}},
      // A held Ctrl is neither pressed nor released.
      {VK_LCONTROL, "Control_L", {"+C", "-C"}},
      // Alt is lifted only once Ctrl is down, and a key the system knows no meaning for follows
      // its second press, so that its release does not open the menu.
      {VK_LMENU, "Alt_L", {"+Ctrl", "-Alt", "+C", "-C", "+Alt", "+key232", "-key232", "-Ctrl"}},
  };
  Win32Input input;
  for (const Case& c : cases) {
    KeyWindow front;
    testing::PhysicalKey(c.keysym, true);
    ASSERT_TRUE(PumpUntil([&] { return Down(c.held); }));
    // The press is queued once the state says "down"; a key sent after it comes after it.
    Tap(VK_F24);
    ASSERT_TRUE(PumpUntil([&] { return !front.keys.empty() && front.keys.back() == "-key135"; }));
    front.keys.clear();
    input.SendCopyKeys();
    ASSERT_TRUE(PumpUntil([&] { return front.keys.size() >= c.expected.size(); }))
        << ::testing::PrintToString(front.keys);
    EXPECT_EQ(front.keys, c.expected);
    EXPECT_EQ(front.modifiersAtC, "Ctrl");
    EXPECT_TRUE(Down(c.held));  // still down, as the user still holds it
    testing::PhysicalKey(c.keysym, false);
    EXPECT_TRUE(PumpUntil([&] { return !Down(c.held); }));
  }
}

TEST(Win32Input, MiddleButton) {
  Win32Input input;
  EXPECT_FALSE(input.MiddleButtonDown());
  mouse_event(MOUSEEVENTF_MIDDLEDOWN, 0, 0, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return input.MiddleButtonDown(); }));
  mouse_event(MOUSEEVENTF_MIDDLEUP, 0, 0, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !input.MiddleButtonDown(); }));
}

// A window of the program with an edit control that has the focus and all of its text selected.
class EditWindow {
 public:
  explicit EditWindow(const wchar_t* text) {
    frame_ = CreateWindowExW(0, L"STATIC", L"Edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                             100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    edit_ = CreateWindowExW(0, L"EDIT", text, WS_CHILD | WS_VISIBLE, 0, 0, 280, 30, frame_, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    EXPECT_TRUE(testing::BringToFront(frame_, edit_));
  }
  ~EditWindow() { DestroyWindow(frame_); }

 private:
  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
};

std::wstring ClipboardText() {
  std::wstring text = L"<none>";
  if (!OpenClipboard(nullptr)) return L"<busy>";
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void EmptyTheClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
}

TEST(Win32Input, AnEditControlInFrontCopiesItsSelection) {
  EmptyTheClipboard();
  EditWindow front(L"selected \u0416 text");
  Win32Input().SendCopyKeys();
  EXPECT_TRUE(PumpUntil([] { return ClipboardText() == L"selected \u0416 text"; }));
}

TEST(Win32FocusCopy, TheProgramsOwnFocusedControlCopies) {
  EmptyTheClipboard();
  Win32FocusCopy focusCopy;
  {
    EditWindow own(L"own text");
    focusCopy.CopyFocusedSelection();
    EXPECT_EQ(ClipboardText(), L"own text");
  }
  // Without a focused window of the program nothing happens.
  EmptyTheClipboard();
  SetFocus(nullptr);
  focusCopy.CopyFocusedSelection();
  EXPECT_EQ(ClipboardText(), L"<none>");
}

}  // namespace
}  // namespace parlino
