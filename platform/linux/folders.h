#pragma once
#include "platform/folders.h"

namespace parlino::platform::linux_impl {

// The program's folder (from /proc/self/exe) and $XDG_CONFIG_HOME/Parlino (default
// ~/.config/Parlino), which is created with its parents; a failure to create it is ignored.
Folders DiscoverFolders();

// $XDG_CONFIG_HOME, or ~/.config.
std::filesystem::path ConfigHome();

}  // namespace parlino::platform::linux_impl
