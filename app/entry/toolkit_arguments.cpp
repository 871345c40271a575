#include "app/entry/toolkit_arguments.h"

#include <algorithm>
#include <cstdlib>

namespace parlino::app {

ToolkitArguments::ToolkitArguments(int argc, char** argv) : storage_(argv, argv + argc) {
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  const bool userChose = (chosen != nullptr && *chosen != '\0') ||
                         std::ranges::find(storage_, "-platform") != storage_.end() ||
                         std::ranges::find(storage_, "--platform") != storage_.end();
  if (!userChose && !storage_.empty()) {
    storage_.insert(storage_.begin() + 1, {"-platform", "xcb"});
  }
  for (std::string& argument : storage_) pointers_.push_back(argument.data());
  count_ = static_cast<int>(storage_.size());
  pointers_.push_back(nullptr);  // argv ends with a null pointer, as C's does
}

std::vector<std::string> ToolkitArguments::ProgramArguments() const {
  return std::vector<std::string>(pointers_.begin(), pointers_.begin() + count_);
}

}  // namespace parlino::app
