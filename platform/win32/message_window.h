#pragma once
// A message-only window: a target for posted messages and system notifications (hot keys, the
// clipboard) that is never shown and never found by window searches. It belongs to the thread
// that creates it, whose message loop delivers its messages.
#include <windows.h>

#include <exception>
#include <functional>

namespace parlino::platform::win32_impl {

class MessageWindow {
 public:
  // Handles a message; returns false to let the system's default handling run. An exception must
  // not cross the system's code that calls the window: it is kept, and the message loop of this
  // program that dispatched the message throws it on (RethrowHandlerError).
  using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  // Throws PlatformError when the window cannot be created.
  explicit MessageWindow(Handler handler);
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND handle() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Handler handler_;
  HWND window_ = nullptr;
};

// Keeps the exception a window procedure of this thread caught, for RethrowHandlerError. The
// first one wins; a later one while it waits is a consequence of it.
void KeepHandlerError(std::exception_ptr error);
// Throws the exception a handler of this thread raised since the last call, if any.
void RethrowHandlerError();

}  // namespace parlino::platform::win32_impl
