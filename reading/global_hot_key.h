#pragma once
// A hot key of the program: a code, registered with the system while active.
#include <cstdint>
#include <functional>

#include "platform/hot_key_registrar.h"

namespace parlino::reading {

class GlobalHotKey {
 public:
  explicit GlobalHotKey(platform::HotKeyRegistrar& registrar) : registrar_(registrar) {}
  ~GlobalHotKey() { SetActive(false); }
  GlobalHotKey(const GlobalHotKey&) = delete;
  GlobalHotKey& operator=(const GlobalHotKey&) = delete;

  std::uint16_t HotKey() const { return code_; }
  // An active hot key is registered again with the new code.
  void SetHotKey(std::uint16_t code);

  bool Active() const { return identifier_ != 0; }
  // A combination the system refuses leaves the hot key inactive, without a message.
  void SetActive(bool active);

  // The registration's identifier, 0 while inactive.
  int Identifier() const { return identifier_; }

  int Tag = 0;
  std::function<void(GlobalHotKey& sender)> OnHotKey;

 private:
  platform::HotKeyRegistrar& registrar_;
  std::uint16_t code_ = 0;
  int identifier_ = 0;
};

}  // namespace parlino::reading
