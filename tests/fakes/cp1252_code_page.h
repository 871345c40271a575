#pragma once
// Windows code page 1252 (Western European), as the system's ANSI code page of many Windows
// installations: lets tests see what the legacy engines receive there.
#include "platform/code_page.h"

namespace parlino::testing {

class Cp1252CodePage final : public platform::CodePage {
 public:
  // A character outside the page becomes one "?" (a surrogate pair is one character).
  std::string FromWide(TextView text) const override;
  Text ToWide(std::string_view bytes) const override;
};

}  // namespace parlino::testing
