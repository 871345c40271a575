#pragma once
// The optional start and close log debug.txt in the data folder: one line per entry, the time of
// day, a space and the entry, appended and on disk before the next step runs.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace parlino::app {

class DebugLogFile {
 public:
  explicit DebugLogFile(std::filesystem::path file) : file_(std::move(file)) {}

  bool enabled = false;

  // Does nothing while disabled. A log that cannot be written must not stop what is logged: the
  // reason comes back instead, in the user's words.
  std::optional<std::string> Write(std::string_view entry) const;

 private:
  std::filesystem::path file_;
};

}  // namespace parlino::app
