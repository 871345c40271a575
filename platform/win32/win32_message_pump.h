#pragma once
// The user-interface thread's Windows message queue, and the clock, without a toolkit: for the
// programs and tests that run no Qt event loop.
#include <deque>
#include <functional>
#include <mutex>

#include "platform/clock.h"
#include "platform/win32/message_window.h"

namespace parlino::platform::win32_impl {

class Win32Clock final : public Clock {
 public:
  std::chrono::milliseconds Now() override;
  void Sleep(std::chrono::milliseconds duration) override;
};

// Made on the user-interface thread; posted tasks run there, one per message, in order.
class Win32MessagePump final : public MessagePump {
 public:
  Win32MessagePump();

  // Dispatches every message waiting in the thread's queue. An exception of a handler is thrown
  // on from here once its message has been dispatched.
  void ProcessPendingMessages() override;
  void Post(std::function<void()> task) override;

  // Dispatches messages until Quit; returns Quit's code.
  int Run();
  void Quit(int code);

 private:
  bool RunNextTask();

  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
  MessageWindow window_;
};

}  // namespace parlino::platform::win32_impl
