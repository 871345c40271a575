#pragma once
#include <windows.h>

#include <deque>

#include "platform/single_instance.h"

namespace parlino::platform::win32_impl {

// Marks the running copy with a hidden top-level window of the class "ParlinoApplication" titled
// "Parlino!", which other copies find with FindWindowW. The window lives as long as this object.
// Later copies post their requests to it as the registered message "ParlinoRequest"; the thread
// that made the marker receives them through its message loop.
class Win32SingleInstance final : public SingleInstance {
 public:
  Win32SingleInstance() = default;
  ~Win32SingleInstance() override;
  Win32SingleInstance(const Win32SingleInstance&) = delete;
  Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

  // A marker window of this very process does not count as another copy. Throws PlatformError
  // when the marker cannot be made.
  bool HandOver(const std::vector<InstanceRequest>& requests) override;
  void ReceiveRequests(std::function<void(InstanceRequest)> handler) override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void HandleWaiting();

  HWND marker_ = nullptr;
  std::function<void(InstanceRequest)> handler_;
  std::deque<InstanceRequest> waiting_;  // received, not yet handled
  bool handling_ = false;
};

inline constexpr wchar_t kInstanceWindowClass[] = L"ParlinoApplication";
inline constexpr wchar_t kInstanceWindowTitle[] = L"Parlino!";
// The registered message that carries a request; its wParam holds the request's number.
inline constexpr wchar_t kInstanceRequestMessage[] = L"ParlinoRequest";

}  // namespace parlino::platform::win32_impl
