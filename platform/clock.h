#pragma once
#include <chrono>
#include <functional>

namespace parlino::platform {

// Time and waiting, so that waits and retries run on a virtual clock in tests.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::milliseconds Now() = 0;  // monotonic
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// The user-interface thread's event queue.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Runs the handlers of the events that are waiting, then returns.
  virtual void ProcessPendingMessages() = 0;
  // Queues `task` to run on the user-interface thread; may be called from any thread.
  virtual void Post(std::function<void()> task) = 0;
};

}  // namespace parlino::platform
