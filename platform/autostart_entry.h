#pragma once
// The program's "start with the system" entry: present and non-empty means on.
#include <filesystem>
#include <optional>

#include "platform/text.h"

namespace parlino::platform {

class AutostartEntry {
 public:
  virtual ~AutostartEntry() = default;
  // The registered command line, or nothing when there is no entry.
  virtual std::optional<Text> Read() = 0;
  // Registers the program with its arguments. Throws PlatformError.
  virtual void Write(const std::filesystem::path& program, TextView arguments) = 0;
  // Removes the entry; a missing one is no error. Throws PlatformError.
  virtual void Remove() = 0;
};

}  // namespace parlino::platform
