#include "platform/win32/message_window.h"

#include <utility>

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

constexpr wchar_t kClassName[] = L"ParlinoMessageWindow";

thread_local std::exception_ptr handlerError;

void RegisterOnce() {
  static const ATOM atom = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass);
  }();
  if (atom == 0) ThrowWin32Error("Cannot register the message window class");
}

}  // namespace

MessageWindow::MessageWindow(Handler handler) : handler_(std::move(handler)) {
  RegisterOnce();
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (window_ == nullptr) ThrowWin32Error("Cannot create a message window");
  // The procedure is set only now, so that it never sees a window without its owner.
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
}

MessageWindow::~MessageWindow() {
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
  DestroyWindow(window_);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  LRESULT result = 0;
  try {
    if (self != nullptr && self->handler_ && self->handler_(message, wParam, lParam, result)) {
      return result;
    }
  } catch (...) {
    KeepHandlerError(std::current_exception());
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void KeepHandlerError(std::exception_ptr error) {
  if (!handlerError) handlerError = std::move(error);
}

void RethrowHandlerError() {
  if (!handlerError) return;
  std::exception_ptr error = std::exchange(handlerError, nullptr);
  std::rethrow_exception(error);
}

}  // namespace parlino::platform::win32_impl
