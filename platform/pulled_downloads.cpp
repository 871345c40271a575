#include "platform/pulled_downloads.h"

#include "platform/platform_error.h"

namespace parlino::platform {
namespace {

// What the steps of one download share; it lives as long as the download does.
struct PullState {
  Internet& internet;
  MessagePump& pump;
  Text agent;
  Text address;
  DownloadReceiver& receiver;
  std::unique_ptr<InternetResource> resource;
};

void Step(const std::weak_ptr<PullState>& handle);

void Later(MessagePump& pump, std::weak_ptr<PullState> handle) {
  pump.Post([handle = std::move(handle)] { Step(handle); });
}

void Finish(PullState& state, std::optional<std::string> error) {
  state.resource.reset();
  state.receiver.Finished(std::move(error));
}

// Opens the address, or reads one block; then hands on to the next step.
void Step(const std::weak_ptr<PullState>& handle) {
  const std::shared_ptr<PullState> state = handle.lock();
  if (!state) return;  // the download was stopped
  try {
    if (!state->resource) {
      state->resource = state->internet.Open(state->agent, state->address);
      state->receiver.Started(state->resource->ContentLength());
    } else {
      char block[kDownloadBlockSize];
      const std::size_t read = state->resource->Read(block, sizeof block);
      if (read == 0) return Finish(*state, std::nullopt);
      if (!state->receiver.Received(std::string_view(block, read))) {
        state->resource.reset();
        return;
      }
    }
  } catch (const PlatformError& error) {
    return Finish(*state, error.what());
  }
  Later(state->pump, handle);
}

class PulledDownload final : public Download {
 public:
  explicit PulledDownload(std::shared_ptr<PullState> state) : state_(std::move(state)) {}

 private:
  std::shared_ptr<PullState> state_;
};

}  // namespace

std::unique_ptr<Download> PulledDownloads::Start(TextView agent, TextView address,
                                                 DownloadReceiver& receiver) {
  auto state = std::make_shared<PullState>(
      PullState{internet_, pump_, Text(agent), Text(address), receiver, nullptr});
  Later(pump_, state);
  return std::make_unique<PulledDownload>(std::move(state));
}

}  // namespace parlino::platform
