#pragma once
// Downloads over HTTP and HTTPS that run while the user-interface thread goes on: the body
// arrives block by block through a receiver, on that thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace parlino::platform {

// The largest block a receiver is given at once.
inline constexpr std::size_t kDownloadBlockSize = 2048;

// Hears one download, in this order: Started once, Received for every block, Finished once.
// Nothing follows Finished, nor a Received that answered false.
class DownloadReceiver {
 public:
  virtual ~DownloadReceiver() = default;
  // The server answered with success; `contentLength` is the length it announced, if any.
  virtual void Started(std::optional<std::uint64_t> contentLength) = 0;
  // The next block of the body, at most kDownloadBlockSize bytes. False stops the download at
  // once, and nothing more is heard of it.
  virtual bool Received(std::string_view block) = 0;
  // The end: nothing when the whole body arrived, else what went wrong in the user's words.
  virtual void Finished(std::optional<std::string> error) = 0;
};

// One running download. Destroying it stops it; its receiver hears nothing more.
class Download {
 public:
  virtual ~Download() = default;
};

class Downloads {
 public:
  virtual ~Downloads() = default;
  // Starts downloading `address`, presenting the program as `agent`. Redirects are followed, at
  // most 5 and never from HTTPS to HTTP; an answer of an error status (400 and above) and a
  // certificate that does not check out are failures. Only http and https addresses load.
  // The receiver is told from the event loop, never from within Start.
  virtual std::unique_ptr<Download> Start(TextView agent, TextView address,
                                          DownloadReceiver& receiver) = 0;
};

}  // namespace parlino::platform
