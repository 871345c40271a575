#include "app/entry/instance_requests.h"

namespace parlino::app {

std::vector<platform::InstanceRequest> InstanceRequestsOf(
    const std::vector<std::string>& arguments) {
  std::vector<platform::InstanceRequest> requests;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == "-read") requests.push_back(platform::InstanceRequest::Read);
    if (arguments[i] == "-pause") requests.push_back(platform::InstanceRequest::Pause);
    if (arguments[i] == "-options") requests.push_back(platform::InstanceRequest::Options);
  }
  return requests;
}

}  // namespace parlino::app
