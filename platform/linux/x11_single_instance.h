#pragma once
#include "platform/single_instance.h"

namespace parlino::platform::linux_impl {

// Marks the running copy with an unmapped top-level X window of the class "ParlinoApplication"
// titled "Parlino!". The window lives as long as this object's display connection.
class X11SingleInstance final : public SingleInstance {
 public:
  X11SingleInstance() = default;
  ~X11SingleInstance() override;
  X11SingleInstance(const X11SingleInstance&) = delete;
  X11SingleInstance& operator=(const X11SingleInstance&) = delete;

  bool AnotherCopyRuns() override;

 private:
  void* display_ = nullptr;  // Display*, kept open while this copy runs
};

inline constexpr const char* kInstanceWindowClass = "ParlinoApplication";
inline constexpr const char* kInstanceWindowTitle = "Parlino!";

}  // namespace parlino::platform::linux_impl
