#include "platform/linux/folders.h"

#include <cstdlib>
#include <system_error>

namespace parlino::platform::linux_impl {

std::filesystem::path ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : "/tmp") / ".config";
}

Folders DiscoverFolders() {
  std::error_code error;
  Folders folders;
  folders.programFolder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  folders.dataFolder = ConfigHome() / "Parlino";
  std::filesystem::create_directories(folders.dataFolder, error);
  return folders;
}

}  // namespace parlino::platform::linux_impl
