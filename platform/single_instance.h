#pragma once
#include <functional>
#include <vector>

namespace parlino::platform {

// What a copy started with "-read", "-pause" or "-options" asks of the copy that runs.
enum class InstanceRequest { Read = 1, Pause = 2, Options = 3 };

// One running copy per desktop session, recognised by a marker window of the program's own class
// and the title "Parlino!". The marker also carries requests from later copies to the running one.
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;

  // True when another copy already holds the marker; it has been handed `requests`, in order.
  // Otherwise this copy takes the marker and the requests stay with the caller.
  virtual bool HandOver(const std::vector<InstanceRequest>& requests) = 0;
  // True when another copy already holds the marker; otherwise this copy takes it.
  bool AnotherCopyRuns() { return HandOver({}); }

  // Once this copy holds the marker: the requests later copies hand over reach `handler` on the
  // user-interface thread, one at a time and in the order they were sent, those that came
  // before this call included. Requests of an unknown kind are dropped.
  virtual void ReceiveRequests(std::function<void(InstanceRequest)> handler) = 0;
};

}  // namespace parlino::platform
