#pragma once

namespace parlino::platform {

// One running copy per desktop session, recognised by a marker window of the program's own class
// and the title "Parlino!".
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  // True when another copy already holds the marker; otherwise this copy takes it.
  virtual bool AnotherCopyRuns() = 0;
};

}  // namespace parlino::platform
