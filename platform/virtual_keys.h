#pragma once
// Virtual-key codes: the key numbers hot key codes are made of, the same on every platform.
#include <cstdint>

namespace parlino::platform::vk {

inline constexpr std::uint8_t kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kPause = 0x13,
                              kCapital = 0x14, kEscape = 0x1B, kSpace = 0x20, kPrior = 0x21,
                              kNext = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26,
                              kRight = 0x27, kDown = 0x28, kSnapshot = 0x2C, kInsert = 0x2D,
                              kDelete = 0x2E, k0 = 0x30, kA = 0x41, kNumpad0 = 0x60,
                              kMultiply = 0x6A, kAdd = 0x6B, kSubtract = 0x6D, kDecimal = 0x6E,
                              kDivide = 0x6F, kF1 = 0x70, kF24 = 0x87, kNumLock = 0x90,
                              kScroll = 0x91, kOem1 = 0xBA /* ;: */, kOemPlus = 0xBB,
                              kOemComma = 0xBC, kOemMinus = 0xBD, kOemPeriod = 0xBE,
                              kOem2 = 0xBF /* /? */, kOem3 = 0xC0 /* `~ */, kOem4 = 0xDB /* [{ */,
                              kOem5 = 0xDC /* \| */, kOem6 = 0xDD /* ]} */, kOem7 = 0xDE /* '" */;

}  // namespace parlino::platform::vk
