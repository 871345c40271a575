#pragma once
#include <optional>
#include <string>

#include "platform/folders.h"

namespace parlino::platform::linux_impl {

// The running program file (from /proc/self/exe).
std::filesystem::path ProgramFile();

// The folder of the program's own data (help pages, voice catalogue): `dataFromProgram` taken
// from the program file's folder, as the install and the build tree lay it out
// (bin/parlino and share/parlino), when that folder exists; else the program file's folder.
std::filesystem::path ProgramDataFolder(const std::filesystem::path& programFile,
                                        const std::filesystem::path& dataFromProgram);

// The program's data folder and $XDG_CONFIG_HOME/Parlino (default ~/.config/Parlino), which is
// created with its parents; a failure to create it is ignored.
Folders DiscoverFolders();

// $XDG_CONFIG_HOME when it is an absolute path, else .config in the home folder: $HOME, or when
// that is not set the user database's home folder. Never a shared folder such as /tmp.
std::filesystem::path ConfigHome();

// Why the data folder must not be used, in the user's words, or nothing when it is safe: it
// must be a folder of this user that no other user may change.
std::optional<std::string> DataFolderProblem(const std::filesystem::path& folder);

}  // namespace parlino::platform::linux_impl
