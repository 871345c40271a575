#pragma once
// Downloads over HTTP and HTTPS, read block by block as the data arrives.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/text.h"

namespace parlino::platform {

// One opened address.
class InternetResource {
 public:
  virtual ~InternetResource() = default;
  // Reads up to `size` bytes into `buffer`; 0 once everything was read. Throws PlatformError
  // when the transfer fails, or ends before the length the server announced.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // The length the server announced for the body, if it announced one.
  virtual std::optional<std::uint64_t> ContentLength() const = 0;
};

class Internet {
 public:
  virtual ~Internet() = default;
  // Opens `address` (redirects followed), presenting the program as `agent`. Throws PlatformError
  // when it cannot be opened or the server answers with an error (a status of 400 or more).
  virtual std::unique_ptr<InternetResource> Open(TextView agent, TextView address) = 0;
};

}  // namespace parlino::platform
