#pragma once
#include <random>
#include <string_view>

#include "platform/text.h"

namespace parlino::testing {

// 0 to maxLength units drawn from `alphabet`.
inline Text RandomText(std::mt19937& random, std::u16string_view alphabet, std::size_t maxLength) {
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  Text text(length(random), u' ');
  for (char16_t& c : text) c = alphabet[pick(random)];
  return text;
}

}  // namespace parlino::testing
