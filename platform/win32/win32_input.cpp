#include "platform/win32/win32_input.h"

#include <windows.h>

#include <vector>

namespace parlino::platform::win32_impl {
namespace {

// An unassigned virtual key. Pressing it between the press and the release of Alt or a Windows
// key makes the system see that key as part of a combination, so that its release neither opens
// the application's menu (Alt) nor the Start menu (Windows key).
constexpr BYTE kMaskKey = 0xE8;

bool IsDown(int key) {
  return (static_cast<unsigned short>(GetAsyncKeyState(key)) & 0x8000u) != 0;
}

bool IsExtended(BYTE key) {
  return key == VK_RCONTROL || key == VK_RMENU || key == VK_LWIN || key == VK_RWIN;
}

void Key(BYTE key, bool down) {
  DWORD flags = down ? 0 : KEYEVENTF_KEYUP;
  if (IsExtended(key)) flags |= KEYEVENTF_EXTENDEDKEY;
  keybd_event(key, static_cast<BYTE>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)), flags, 0);
}

}  // namespace

void Win32Input::SendCopyKeys() {
  const bool ctrlHeld = IsDown(VK_LCONTROL) || IsDown(VK_RCONTROL);
  std::vector<BYTE> lifted;
  static constexpr BYTE kModifiers[] = {VK_LSHIFT, VK_RSHIFT, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN};
  for (const BYTE key : kModifiers) {
    if (IsDown(key)) lifted.push_back(key);
  }

  // Ctrl goes down before the others go up, so that lifting Alt is not a press of Alt alone.
  if (!ctrlHeld) Key(VK_CONTROL, true);
  for (const BYTE key : lifted) Key(key, false);
  Key('C', true);
  Key('C', false);
  bool maskNeeded = false;
  for (const BYTE key : lifted) {
    Key(key, true);
    maskNeeded = maskNeeded || (key != VK_LSHIFT && key != VK_RSHIFT);
  }
  if (maskNeeded) {
    Key(kMaskKey, true);
    Key(kMaskKey, false);
  }
  if (!ctrlHeld) Key(VK_CONTROL, false);
}

bool Win32Input::MiddleButtonDown() {
  return IsDown(VK_MBUTTON);
}

}  // namespace parlino::platform::win32_impl
