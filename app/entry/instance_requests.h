#pragma once
// The command-line switches that ask for a reading, a pause or the options window.
#include <string>
#include <vector>

#include "platform/single_instance.h"

namespace parlino::app {

// The requests of "-read", "-pause" and "-options" in `arguments` (the program path first), in
// their order. Switches are compared exactly and case-sensitively; other arguments are no request.
std::vector<platform::InstanceRequest> InstanceRequestsOf(
    const std::vector<std::string>& arguments);

}  // namespace parlino::app
