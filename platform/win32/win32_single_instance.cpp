#include "platform/win32/win32_single_instance.h"

#include "platform/win32/message_window.h"
#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

UINT RequestMessage() {
  static const UINT message = RegisterWindowMessageW(kInstanceRequestMessage);
  return message;
}

bool IsKnownRequest(WPARAM number) {
  return number == static_cast<WPARAM>(InstanceRequest::Read) ||
         number == static_cast<WPARAM>(InstanceRequest::Pause) ||
         number == static_cast<WPARAM>(InstanceRequest::Options);
}

}  // namespace

Win32SingleInstance::~Win32SingleInstance() {
  if (marker_ != nullptr) DestroyWindow(marker_);
}

bool Win32SingleInstance::HandOver(const std::vector<InstanceRequest>& requests) {
  if (const HWND found = FindWindowW(kInstanceWindowClass, kInstanceWindowTitle)) {
    DWORD process = 0;
    GetWindowThreadProcessId(found, &process);
    if (process != GetCurrentProcessId()) {
      const UINT message = RequestMessage();
      if (message == 0) ThrowWin32Error("Cannot register the program's request message");
      for (const InstanceRequest request : requests) {
        if (!PostMessageW(found, message, static_cast<WPARAM>(request), 0)) {
          ThrowWin32Error("Cannot hand the request to the running copy");
        }
      }
      return true;
    }
  }
  if (marker_ != nullptr) return false;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kInstanceWindowClass;
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowWin32Error("Cannot register the program's window class");
  }
  // Top-level and never shown: message-only windows would be invisible to FindWindowW.
  marker_ = CreateWindowExW(WS_EX_TOOLWINDOW, kInstanceWindowClass, kInstanceWindowTitle, WS_POPUP,
                            0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (marker_ == nullptr) ThrowWin32Error("Cannot create the program's marker window");
  // Requests are kept from now on, so that those that come before ReceiveRequests wait for it.
  SetWindowLongPtrW(marker_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(marker_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
  return false;
}

void Win32SingleInstance::ReceiveRequests(std::function<void(InstanceRequest)> handler) {
  handler_ = std::move(handler);
  // What came before is handed over from the message loop, as later requests are.
  if (marker_ != nullptr && !waiting_.empty()) {
    PostMessageW(marker_, RequestMessage(), 0, 0);
  }
}

LRESULT CALLBACK Win32SingleInstance::Procedure(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  auto* self = reinterpret_cast<Win32SingleInstance*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || message != RequestMessage() || message == 0) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  // No exception may cross the system's code: it is kept for the program's message loop.
  try {
    if (IsKnownRequest(wParam)) self->waiting_.push_back(static_cast<InstanceRequest>(wParam));
    self->HandleWaiting();
  } catch (...) {
    KeepHandlerError(std::current_exception());
  }
  return 0;
}

void Win32SingleInstance::HandleWaiting() {
  // A handler that runs the message loop brings the next request here while it runs: that one
  // waits for it to finish.
  if (handling_ || !handler_) return;
  handling_ = true;
  struct Done {
    bool& handling;
    ~Done() { handling = false; }
  } done{handling_};
  while (!waiting_.empty()) {
    const InstanceRequest request = waiting_.front();
    waiting_.pop_front();
    handler_(request);
  }
}

}  // namespace parlino::platform::win32_impl
