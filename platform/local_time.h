#pragma once
// The clock on the wall, as the user reads it.
#include <string>

namespace parlino::platform {

// The current local time of day in the user's long time format, such as "14:03:27".
std::string LocalTimeOfDay();

}  // namespace parlino::platform
