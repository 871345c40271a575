#include "slots/slot_hot_keys.h"

namespace parlino::voice_slots {

Text SlotHotKeys::Name(int n) {
  return u"SlotHotKey_" + ToText(n);
}

void SlotHotKeys::Create(const std::vector<std::uint16_t>& codes) {
  Release();
  keys_.reserve(codes.size());
  for (std::size_t n = 0; n < codes.size(); ++n) {
    auto key = std::make_unique<reading::GlobalHotKey>(registrar_);
    key->Tag = static_cast<int>(n);
    key->SetHotKey(codes[n]);
    key->SetActive(true);
    key->OnHotKey = [this](reading::GlobalHotKey& sender) {
      if (pressed_) pressed_(sender.Tag);
    };
    keys_.push_back({Name(static_cast<int>(n)), std::move(key)});
  }
}

void SlotHotKeys::Release() {
  for (Named& named : keys_) named.key->SetActive(false);
  keys_.clear();
}

reading::GlobalHotKey* SlotHotKeys::Find(TextView name) {
  for (Named& named : keys_) {
    if (named.name == name) return named.key.get();
  }
  return nullptr;
}

}  // namespace parlino::voice_slots
