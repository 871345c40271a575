#include "app/settings/debug_log.h"

#include <string>

#include "platform/local_time.h"
#include "platform/text_file.h"

namespace parlino::app {

std::optional<std::string> DebugLogFile::Write(std::string_view entry) const {
  if (!enabled) return std::nullopt;
  // One entry is one line: a line break in a message would look like an entry of its own.
  std::string line = platform::LocalTimeOfDay() + " " + std::string(entry);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  try {
    platform::AppendToFile(file_, line + "\r\n");
  } catch (const std::exception& error) {
    return error.what();
  }
  return std::nullopt;
}

}  // namespace parlino::app
