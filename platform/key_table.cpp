#include "platform/key_table.h"

#include <array>
#include <string_view>

#include "platform/virtual_keys.h"

namespace parlino::platform {
namespace {

struct NamedKey {
  std::uint8_t virtualKey;
  TextView hotKeyText;
  std::string_view x11KeySym;
};

// Keys outside the contiguous ranges (digits, letters, number pad digits, F1-F24).
constexpr NamedKey kNamedKeys[] = {
    {0x03, u"", "Break"},  // VK_CANCEL, Ctrl+Pause
    {vk::kBack, u"BkSp", "BackSpace"},
    {vk::kTab, u"Tab", "Tab"},
    {0x0C, u"", "Clear"},
    {vk::kReturn, u"Enter", "Return"},
    {vk::kPause, u"", "Pause"},
    {vk::kCapital, u"", "Caps_Lock"},
    {vk::kEscape, u"Esc", "Escape"},
    {vk::kSpace, u"Space", "space"},
    {vk::kPrior, u"PgUp", "Prior"},
    {vk::kNext, u"PgDn", "Next"},
    {vk::kEnd, u"End", "End"},
    {vk::kHome, u"Home", "Home"},
    {vk::kLeft, u"Left", "Left"},
    {vk::kUp, u"Up", "Up"},
    {vk::kRight, u"Right", "Right"},
    {vk::kDown, u"Down", "Down"},
    {0x29, u"", "Select"},
    {0x2A, u"", "Print"},  // VK_PRINT
    {0x2B, u"", "Execute"},
    {vk::kSnapshot, u"", "Print"},
    {vk::kInsert, u"Ins", "Insert"},
    {vk::kDelete, u"Del", "Delete"},
    {0x2F, u"", "Help"},
    {0x5B, u"", "Super_L"},  // the Windows keys
    {0x5C, u"", "Super_R"},
    {0x5D, u"", "Menu"},  // VK_APPS
    {0x5F, u"", "XF86Sleep"},
    {vk::kMultiply, u"", "KP_Multiply"},
    {vk::kAdd, u"", "KP_Add"},
    {0x6C, u"", "KP_Separator"},
    {vk::kSubtract, u"", "KP_Subtract"},
    {vk::kDecimal, u"", "KP_Decimal"},
    {vk::kDivide, u"", "KP_Divide"},
    {vk::kNumLock, u"", "Num_Lock"},
    {vk::kScroll, u"", "Scroll_Lock"},
    {0xA6, u"", "XF86Back"},  // browser, media and launch keys
    {0xA7, u"", "XF86Forward"},
    {0xA8, u"", "XF86Refresh"},
    {0xA9, u"", "XF86Stop"},
    {0xAA, u"", "XF86Search"},
    {0xAB, u"", "XF86Favorites"},
    {0xAC, u"", "XF86HomePage"},
    {0xAD, u"", "XF86AudioMute"},
    {0xAE, u"", "XF86AudioLowerVolume"},
    {0xAF, u"", "XF86AudioRaiseVolume"},
    {0xB0, u"", "XF86AudioNext"},
    {0xB1, u"", "XF86AudioPrev"},
    {0xB2, u"", "XF86AudioStop"},
    {0xB3, u"", "XF86AudioPlay"},
    {0xB4, u"", "XF86Mail"},
    {0xB5, u"", "XF86AudioMedia"},
    {0xB6, u"", "XF86MyComputer"},
    {0xB7, u"", "XF86Calculator"},
    {vk::kOem1, u"", "semicolon"},
    {vk::kOemPlus, u"", "equal"},
    {vk::kOemComma, u"", "comma"},
    {vk::kOemMinus, u"", "minus"},
    {vk::kOemPeriod, u"", "period"},
    {vk::kOem2, u"", "slash"},
    {vk::kOem3, u"", "grave"},
    {vk::kOem4, u"", "bracketleft"},
    {vk::kOem5, u"", "backslash"},
    {vk::kOem6, u"", "bracketright"},
    {vk::kOem7, u"", "apostrophe"},
    {0xE2, u"", "less"},  // VK_OEM_102, the extra key beside the left Shift
};

std::array<KeyNames, 256> BuildTable() {
  std::array<KeyNames, 256> table;
  for (std::size_t i = 0; i < 10; ++i) {
    const std::string digit(1, static_cast<char>('0' + i));
    table[vk::k0 + i] = {FromUtf8(digit), digit};
    table[vk::kNumpad0 + i] = {FromUtf8(digit), "KP_" + digit};  // the digit, as on the main keys
  }
  for (std::size_t i = 0; i < 26; ++i) {
    table[vk::kA + i] = {Text(1, static_cast<char16_t>(u'A' + i)),
                         std::string(1, static_cast<char>('a' + i))};
  }
  for (std::size_t i = 0; i <= std::size_t{vk::kF24} - vk::kF1; ++i) {
    const std::string name = "F" + std::to_string(i + 1);
    table[vk::kF1 + i] = {FromUtf8(name), name};
  }
  for (const NamedKey& key : kNamedKeys) {
    table[key.virtualKey] = {Text(key.hotKeyText), std::string(key.x11KeySym)};
  }
  return table;
}

}  // namespace

const KeyNames& KeyNamesOf(std::uint8_t virtualKey) {
  static const std::array<KeyNames, 256> kTable = BuildTable();
  return kTable[virtualKey];
}

}  // namespace parlino::platform
