#pragma once
#include "platform/internet.h"

namespace parlino::platform::win32_impl {

// WinINet: InternetOpenW with the system's proxy settings, InternetOpenUrlW, InternetReadFile,
// HttpQueryInfoW for the status and the length. Both handles are closed with the resource.
class WinInetInternet final : public Internet {
 public:
  std::unique_ptr<InternetResource> Open(TextView agent, TextView address) override;
};

}  // namespace parlino::platform::win32_impl
