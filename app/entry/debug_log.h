#pragma once
// The optional start and close log: one line per entry, the time of day, a space and the entry,
// appended to debug.txt and on disk before the next step runs.
#include <filesystem>
#include <string_view>

namespace parlino::app {

class DebugLogFile {
 public:
  explicit DebugLogFile(std::filesystem::path file) : file_(std::move(file)) {}

  bool enabled = false;

  // Does nothing while disabled. Throws PlatformError when the file cannot be written.
  void Write(std::string_view entry) const;

 private:
  std::filesystem::path file_;
};

}  // namespace parlino::app
