#include "app/entry/debug_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "platform/platform_error.h"

namespace parlino::app {

void DebugLogFile::Write(std::string_view entry) const {
  if (!enabled) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char time[16];
  std::strftime(time, sizeof time, "%H:%M:%S", &local);
  const std::string line = std::string(time) + " " + std::string(entry) + "\r\n";

  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(file_.c_str(), "ab"),
                                                             &std::fclose);
  if (!file || std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() ||
      std::fflush(file.get()) != 0) {
    throw PlatformError("Cannot write " + file_.string() + ": " + std::strerror(errno), errno);
  }
}

}  // namespace parlino::app
