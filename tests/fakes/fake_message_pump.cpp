#include "tests/fakes/fake_message_pump.h"

#include <thread>
#include <utility>

namespace parlino::testing {

void FakeMessagePump::ProcessPendingMessages() {
  std::deque<std::function<void()>> ready;
  {
    std::lock_guard lock(mutex_);
    ready.swap(tasks_);
  }
  for (auto& task : ready) task();
}

void FakeMessagePump::Post(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  tasks_.push_back(std::move(task));
}

std::size_t FakeMessagePump::Pending() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

bool FakeMessagePump::RunUntil(const std::function<bool()>& done,
                               std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    ProcessPendingMessages();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void FakeMessagePump::RunFor(std::chrono::milliseconds duration) {
  const auto deadline = std::chrono::steady_clock::now() + duration;
  RunUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, duration);
}

}  // namespace parlino::testing
