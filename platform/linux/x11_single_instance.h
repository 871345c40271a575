#pragma once
#include <deque>
#include <memory>

#include "platform/linux/x11_display.h"
#include "platform/single_instance.h"

class QSocketNotifier;

namespace parlino::platform::linux_impl {

// Marks the running copy with an unmapped top-level X window of the class "ParlinoApplication"
// titled "Parlino!". The window lives as long as this object's display connection. Later copies
// send their requests to it as client messages, which only this connection receives; they are
// read on the user-interface thread through a socket notifier. HandOver needs nothing but the X
// display, so a copy that only hands a request over ends before any toolkit starts;
// ReceiveRequests needs the Qt application.
class X11SingleInstance final : public SingleInstance {
 public:
  X11SingleInstance();
  ~X11SingleInstance() override;
  X11SingleInstance(const X11SingleInstance&) = delete;
  X11SingleInstance& operator=(const X11SingleInstance&) = delete;

  bool HandOver(const std::vector<InstanceRequest>& requests) override;
  void ReceiveRequests(std::function<void(InstanceRequest)> handler) override;

 private:
  void ReadEvents();

  X11Connection display_;          // kept open while this copy runs: the marker lives as long
  unsigned long marker_ = 0;       // this copy's marker window, once it holds it
  unsigned long requestType_ = 0;  // the atom that labels a request
  std::function<void(InstanceRequest)> handler_;
  std::deque<InstanceRequest> waiting_;  // received, not yet handled
  bool handling_ = false;
  std::unique_ptr<QSocketNotifier> notifier_;  // goes before the connection it reads
};

inline constexpr const char* kInstanceWindowClass = "ParlinoApplication";
inline constexpr const char* kInstanceWindowTitle = "Parlino!";
// The type of the client messages that carry a request; the first long holds its number.
inline constexpr const char* kInstanceRequestType = "_PARLINO_REQUEST";

}  // namespace parlino::platform::linux_impl
