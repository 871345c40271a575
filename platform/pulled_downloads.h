#pragma once
// Downloads over an Internet whose reads block (WinINet): every block is read in a task of the
// message pump of its own, so that the user-interface thread runs its other events between two
// blocks, as the program always did while it downloaded.
#include "platform/clock.h"
#include "platform/downloads.h"
#include "platform/internet.h"

namespace parlino::platform {

class PulledDownloads final : public Downloads {
 public:
  PulledDownloads(Internet& internet, MessagePump& pump) : internet_(internet), pump_(pump) {}

  std::unique_ptr<Download> Start(TextView agent, TextView address,
                                  DownloadReceiver& receiver) override;

 private:
  Internet& internet_;
  MessagePump& pump_;
};

}  // namespace parlino::platform
