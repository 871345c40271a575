#include "platform/win32/win32_message_pump.h"

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

constexpr UINT kRunTask = WM_APP + 1;

void Dispatch(MSG& message) {
  TranslateMessage(&message);
  DispatchMessageW(&message);
  RethrowHandlerError();
}

}  // namespace

std::chrono::milliseconds Win32Clock::Now() {
  return std::chrono::milliseconds(GetTickCount64());
}

void Win32Clock::Sleep(std::chrono::milliseconds duration) {
  ::Sleep(static_cast<DWORD>(duration.count()));
}

Win32MessagePump::Win32MessagePump()
    : window_([this](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != kRunTask) return false;
        RunNextTask();
        return true;
      }) {}

bool Win32MessagePump::RunNextTask() {
  std::function<void()> task;
  {
    const std::lock_guard lock(mutex_);
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

void Win32MessagePump::ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Not ours to take: the loop that waits for it must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Dispatch(message);
  }
}

void Win32MessagePump::Post(std::function<void()> task) {
  {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  if (!PostMessageW(window_.handle(), kRunTask, 0, 0)) {
    ThrowWin32Error("Cannot post to the user-interface thread");
  }
}

int Win32MessagePump::Run() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got < 0) ThrowWin32Error("Cannot read the message queue");
    Dispatch(message);
  }
}

void Win32MessagePump::Quit(int code) {
  PostQuitMessage(code);
}

}  // namespace parlino::platform::win32_impl
