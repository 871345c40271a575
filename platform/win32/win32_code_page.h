#pragma once
// The system's ANSI code page (GetACP), converted with the system's own tables.
#include "platform/code_page.h"

namespace parlino::platform::win32_impl {

class Win32CodePage final : public CodePage {
 public:
  // Characters the page cannot hold become its best-fit or default character, as
  // WideCharToMultiByte does with no flags.
  std::string FromWide(TextView text) const override;
  Text ToWide(std::string_view bytes) const override;
};

}  // namespace parlino::platform::win32_impl
