#pragma once
// A user-interface message queue that the test drives: tasks posted from any thread wait until
// the test thread processes them.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/clock.h"

namespace parlino::testing {

class FakeMessagePump final : public platform::MessagePump {
 public:
  // Runs the tasks that are waiting, in order, on the calling thread.
  void ProcessPendingMessages() override;
  void Post(std::function<void()> task) override;

  std::size_t Pending() const;
  // Processes messages until `done` holds or `timeout` passes; returns `done()`.
  bool RunUntil(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Waits, without running anything, until a task is waiting or `timeout` passes; returns
  // whether one is.
  bool WaitForPosted(std::chrono::milliseconds timeout = std::chrono::seconds(10));

 private:
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace parlino::testing
