#pragma once
// The loss of the connection to the X server, as when the X server ends with the session. Qt
// warns and ends the process with exit(1) when its connection breaks, and Xlib ends it for the
// program's own connections; both are intercepted on the user-interface thread, `lost` runs
// (without touching the X server, which is gone), and the process ends with status 0.
#include <functional>

namespace parlino::platform::linux_impl {

class X11ConnectionLoss {
 public:
  // One object at a time. Make it on the user-interface thread.
  explicit X11ConnectionLoss(std::function<void()> lost);
  ~X11ConnectionLoss();
  X11ConnectionLoss(const X11ConnectionLoss&) = delete;
  X11ConnectionLoss& operator=(const X11ConnectionLoss&) = delete;
};

}  // namespace parlino::platform::linux_impl
