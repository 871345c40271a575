#pragma once
#include "platform/clock.h"

namespace parlino::platform::linux_impl {

class SystemClock final : public Clock {
 public:
  std::chrono::milliseconds Now() override;
  void Sleep(std::chrono::milliseconds duration) override;
};

// The Qt event loop of the user-interface thread.
class QtMessagePump final : public MessagePump {
 public:
  void ProcessPendingMessages() override;
  void Post(std::function<void()> task) override;
};

}  // namespace parlino::platform::linux_impl
