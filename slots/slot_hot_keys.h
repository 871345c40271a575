#pragma once
// The slot hot keys: one global hot key per slot, named "SlotHotKey_" followed by the slot
// number, whose tag is that number and whose press reads the selection with the slot's voice.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/hot_key_registrar.h"
#include "platform/text.h"
#include "reading/global_hot_key.h"

namespace parlino::voice_slots {

class SlotHotKeys {
 public:
  // Called with the tag of the hot key that was pressed.
  using Pressed = std::function<void(int tag)>;

  SlotHotKeys(platform::HotKeyRegistrar& registrar, Pressed pressed)
      : registrar_(registrar), pressed_(std::move(pressed)) {}
  ~SlotHotKeys() { Release(); }
  SlotHotKeys(const SlotHotKeys&) = delete;
  SlotHotKeys& operator=(const SlotHotKeys&) = delete;

  static Text Name(int n);

  // Releases the hot keys there are, then makes hot key n for code n of `codes`, in slot order,
  // and activates it. A combination the system refuses leaves that hot key inactive.
  void Create(const std::vector<std::uint16_t>& codes);
  // Every slot hot key is deactivated, then destroyed.
  void Release();

  int Count() const { return static_cast<int>(keys_.size()); }
  // The hot key of that name, nullptr when there is none.
  reading::GlobalHotKey* Find(TextView name);

 private:
  struct Named {
    Text name;
    std::unique_ptr<reading::GlobalHotKey> key;
  };

  platform::HotKeyRegistrar& registrar_;
  Pressed pressed_;
  std::vector<Named> keys_;
};

}  // namespace parlino::voice_slots
