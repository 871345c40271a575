#pragma once
// The ANSI code page on Linux is UTF-8. Bytes that are not valid UTF-8 most likely came from a
// Windows machine and are read as Windows-1252, so that their accented letters survive.
#include "platform/code_page.h"
#include "platform/windows_1252.h"

namespace parlino::platform::linux_impl {

class Utf8CodePage final : public CodePage {
 public:
  std::string FromWide(TextView text) const override { return ToUtf8(text); }
  Text ToWide(std::string_view bytes) const override { return DecodeUtf8OrWindows1252(bytes); }
};

}  // namespace parlino::platform::linux_impl
