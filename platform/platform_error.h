#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace parlino {

// An operating-system service failed. `status` carries the service's own code where it has one
// (an errno, an HRESULT), 0 otherwise.
class PlatformError : public std::runtime_error {
 public:
  explicit PlatformError(const std::string& message, std::int64_t status = 0)
      : std::runtime_error(message), status_(status) {}
  std::int64_t status() const { return status_; }

 private:
  std::int64_t status_;
};

}  // namespace parlino
