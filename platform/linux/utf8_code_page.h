#pragma once
// The ANSI code page on Linux is UTF-8.
#include "platform/code_page.h"

namespace parlino::platform::linux_impl {

class Utf8CodePage final : public CodePage {
 public:
  std::string FromWide(TextView text) const override { return ToUtf8(text); }
  Text ToWide(std::string_view bytes) const override { return FromUtf8(bytes); }
};

}  // namespace parlino::platform::linux_impl
