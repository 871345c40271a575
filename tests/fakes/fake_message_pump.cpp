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
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_all();
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

bool FakeMessagePump::WaitForPosted(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return posted_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
}

}  // namespace parlino::testing
