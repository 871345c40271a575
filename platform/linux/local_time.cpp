#include <ctime>

#include "platform/local_time.h"

namespace parlino::platform {

std::string LocalTimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char time[16];
  std::strftime(time, sizeof time, "%H:%M:%S", &local);
  return time;
}

}  // namespace parlino::platform
