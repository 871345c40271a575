#include "reading/global_hot_key.h"

namespace parlino::reading {

void GlobalHotKey::SetHotKey(std::uint16_t code) {
  const bool wasActive = Active();
  SetActive(false);
  code_ = code;
  SetActive(wasActive);
}

void GlobalHotKey::SetActive(bool active) {
  if (active == Active()) return;
  if (!active) {
    registrar_.Unregister(identifier_);
    identifier_ = 0;
    return;
  }
  identifier_ = registrar_
                    .Register(code_,
                              [this] {
                                if (OnHotKey) OnHotKey(*this);
                              })
                    .value_or(0);
}

}  // namespace parlino::reading
