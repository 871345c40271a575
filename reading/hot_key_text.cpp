#include "reading/hot_key_text.h"

#include "platform/hot_key_registrar.h"
#include "platform/key_table.h"

namespace parlino::reading {
namespace {

Text KeyName(std::uint8_t key, const SystemKeyName& systemName) {
  const Text& name = platform::KeyNamesOf(key).hotKeyText;
  if (!name.empty()) return name;
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
