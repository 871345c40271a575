#pragma once
// Downloads through Qt Network on the user-interface thread's event loop.
#include <memory>

#include "platform/downloads.h"

class QNetworkAccessManager;

namespace parlino::platform::linux_impl {

class QtDownloads final : public Downloads {
 public:
  // Uses the desktop's proxy settings, as every download of the program then does.
  QtDownloads();
  ~QtDownloads() override;

  std::unique_ptr<Download> Start(TextView agent, TextView address,
                                  DownloadReceiver& receiver) override;

 private:
  std::unique_ptr<QNetworkAccessManager> manager_;
};

}  // namespace parlino::platform::linux_impl
