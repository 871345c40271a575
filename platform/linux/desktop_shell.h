#pragma once
#include "platform/shell.h"

namespace parlino::platform::linux_impl {

// Opens addresses, files and folders through the desktop's URL handlers.
class DesktopShell final : public Shell {
 public:
  bool Open(TextView target) override;
  bool ShowInFolder(TextView file) override;
};

}  // namespace parlino::platform::linux_impl
