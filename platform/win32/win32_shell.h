#pragma once
#include "platform/shell.h"

namespace parlino::platform::win32_impl {

// ShellExecuteW with the verb "open": web addresses in the browser, files with the program
// registered for them, folders in Explorer, programs (installers) started; and Explorer showing
// a file selected in its folder.
class Win32Shell final : public Shell {
 public:
  bool Open(TextView target) override;
  bool ShowInFolder(TextView file) override;
};

}  // namespace parlino::platform::win32_impl
