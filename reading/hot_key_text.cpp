#include "reading/hot_key_text.h"

#include "platform/hot_key_registrar.h"
#include "platform/virtual_keys.h"

namespace parlino::reading {
namespace {

Text KeyName(std::uint8_t key, const SystemKeyName& systemName) {
  namespace vk = platform::vk;
  switch (key) {
    case vk::kBack:
      return u"BkSp";
    case vk::kTab:
      return u"Tab";
    case vk::kReturn:
      return u"Enter";
    case vk::kEscape:
      return u"Esc";
    case vk::kSpace:
      return u"Space";
    case vk::kPrior:
      return u"PgUp";
    case vk::kNext:
      return u"PgDn";
    case vk::kEnd:
      return u"End";
    case vk::kHome:
      return u"Home";
    case vk::kLeft:
      return u"Left";
    case vk::kUp:
      return u"Up";
    case vk::kRight:
      return u"Right";
    case vk::kDown:
      return u"Down";
    case vk::kInsert:
      return u"Ins";
    case vk::kDelete:
      return u"Del";
    default:
      break;
  }
  if (key >= vk::k0 && key <= vk::k0 + 9)
    return Text(1, static_cast<char16_t>(u'0' + key - vk::k0));
  if (key >= vk::kNumpad0 && key <= vk::kNumpad0 + 9) {
    return Text(1, static_cast<char16_t>(u'0' + key - vk::kNumpad0));
  }
  if (key >= vk::kA && key <= vk::kA + 25) return Text(1, static_cast<char16_t>(key));
  if (key >= vk::kF1 && key <= vk::kF24) return u"F" + ToText(key - vk::kF1 + 1);
  return systemName ? systemName(key) : Text();
}

}  // namespace

Text HotKeyText(std::uint16_t code, const SystemKeyName& systemName) {
  const Text name = KeyName(static_cast<std::uint8_t>(code & 0xFF), systemName);
  if (name.empty()) return name;
  Text text;
  if (code & platform::kHotKeyShift) text += u"Shift+";
  if (code & platform::kHotKeyCtrl) text += u"Ctrl+";
  if (code & platform::kHotKeyAlt) text += u"Alt+";
  return text + name;
}

}  // namespace parlino::reading
