#include "platform/linux/x11_key_symbols.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include "platform/virtual_keys.h"

namespace parlino::platform::linux_impl {
namespace {

struct KeyPair {
  std::uint8_t virtualKey;
  unsigned long keySym;
};

// Keys outside the contiguous ranges (digits, letters, number pad digits, F1-F24).
constexpr KeyPair kNamedKeys[] = {
    {0x03, XK_Break},  // VK_CANCEL, Ctrl+Pause
    {vk::kBack, XK_BackSpace},
    {vk::kTab, XK_Tab},
    {0x0C, XK_Clear},
    {vk::kReturn, XK_Return},
    {vk::kPause, XK_Pause},
    {vk::kCapital, XK_Caps_Lock},
    {vk::kEscape, XK_Escape},
    {vk::kSpace, XK_space},
    {vk::kPrior, XK_Prior},
    {vk::kNext, XK_Next},
    {vk::kEnd, XK_End},
    {vk::kHome, XK_Home},
    {vk::kLeft, XK_Left},
    {vk::kUp, XK_Up},
    {vk::kRight, XK_Right},
    {vk::kDown, XK_Down},
    {0x29, XK_Select},
    {0x2A, XK_Print},  // VK_PRINT
    {0x2B, XK_Execute},
    {vk::kSnapshot, XK_Print},
    {vk::kInsert, XK_Insert},
    {vk::kDelete, XK_Delete},
    {0x2F, XK_Help},
    {0x5B, XK_Super_L},  // the Windows keys
    {0x5C, XK_Super_R},
    {0x5D, XK_Menu},  // VK_APPS
    {0x5F, XF86XK_Sleep},
    {vk::kMultiply, XK_KP_Multiply},
    {vk::kAdd, XK_KP_Add},
    {0x6C, XK_KP_Separator},
    {vk::kSubtract, XK_KP_Subtract},
    {vk::kDecimal, XK_KP_Decimal},
    {vk::kDivide, XK_KP_Divide},
    {vk::kNumLock, XK_Num_Lock},
    {vk::kScroll, XK_Scroll_Lock},
    {0xA6, XF86XK_Back},  // browser, media and launch keys
    {0xA7, XF86XK_Forward},
    {0xA8, XF86XK_Refresh},
    {0xA9, XF86XK_Stop},
    {0xAA, XF86XK_Search},
    {0xAB, XF86XK_Favorites},
    {0xAC, XF86XK_HomePage},
    {0xAD, XF86XK_AudioMute},
    {0xAE, XF86XK_AudioLowerVolume},
    {0xAF, XF86XK_AudioRaiseVolume},
    {0xB0, XF86XK_AudioNext},
    {0xB1, XF86XK_AudioPrev},
    {0xB2, XF86XK_AudioStop},
    {0xB3, XF86XK_AudioPlay},
    {0xB4, XF86XK_Mail},
    {0xB5, XF86XK_AudioMedia},
    {0xB6, XF86XK_MyComputer},
    {0xB7, XF86XK_Calculator},
    {vk::kOem1, XK_semicolon},
    {vk::kOemPlus, XK_equal},
    {vk::kOemComma, XK_comma},
    {vk::kOemMinus, XK_minus},
    {vk::kOemPeriod, XK_period},
    {vk::kOem2, XK_slash},
    {vk::kOem3, XK_grave},
    {vk::kOem4, XK_bracketleft},
    {vk::kOem5, XK_backslash},
    {vk::kOem6, XK_bracketright},
    {vk::kOem7, XK_apostrophe},
    {0xE2, XK_less},  // VK_OEM_102, the extra key beside the left Shift
};

}  // namespace

unsigned long KeySymOfVirtualKey(std::uint8_t virtualKey) {
  if (virtualKey >= vk::k0 && virtualKey <= vk::k0 + 9) return XK_0 + (virtualKey - vk::k0);
  if (virtualKey >= vk::kA && virtualKey <= vk::kA + 25) return XK_a + (virtualKey - vk::kA);
  if (virtualKey >= vk::kNumpad0 && virtualKey <= vk::kNumpad0 + 9) {
    return XK_KP_0 + (virtualKey - vk::kNumpad0);
  }
  if (virtualKey >= vk::kF1 && virtualKey <= vk::kF24) return XK_F1 + (virtualKey - vk::kF1);
  for (const KeyPair& pair : kNamedKeys) {
    if (pair.virtualKey == virtualKey) return pair.keySym;
  }
  return 0;
}

}  // namespace parlino::platform::linux_impl
