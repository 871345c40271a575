#include "platform/linux/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

namespace parlino::platform::linux_impl {
namespace {

std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home == '/') return home;
  // The user database knows the home folder when the environment does not.
  const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return found->pw_dir;
  }
  return {};
}

}  // namespace

std::filesystem::path ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg == '/') return xdg;
  const std::filesystem::path home = HomeFolder();
  // Without any home folder the path stays relative and DataFolderProblem refuses it.
  return home.empty() ? std::filesystem::path(".config") : home / ".config";
}

std::filesystem::path ProgramFile() {
  std::error_code error;
  return std::filesystem::read_symlink("/proc/self/exe", error);
}

std::filesystem::path ProgramDataFolder(const std::filesystem::path& programFile,
                                        const std::filesystem::path& dataFromProgram) {
  const std::filesystem::path programFolder = programFile.parent_path();
  const std::filesystem::path data = (programFolder / dataFromProgram).lexically_normal();
  std::error_code error;
  return std::filesystem::is_directory(data, error) ? data : programFolder;
}

Folders DiscoverFolders() {
  std::error_code error;
  Folders folders;
  // Set by the build: the install's data folder as seen from its program folder.
  folders.programFolder = ProgramDataFolder(ProgramFile(), PARLINO_DATA_FROM_PROGRAM);
  folders.dataFolder = ConfigHome() / "Parlino";
  if (folders.dataFolder.is_absolute())
    std::filesystem::create_directories(folders.dataFolder, error);
  return folders;
}

std::optional<std::string> DataFolderProblem(const std::filesystem::path& folder) {
  const std::string quoted = "\"" + folder.string() + "\"";
  if (!folder.is_absolute()) {
    return "Parlino cannot find your home folder for its settings: neither HOME nor "
           "XDG_CONFIG_HOME is set, and the user database names none.";
  }
  struct stat status {};
  if (stat(folder.c_str(), &status) != 0) {
    return "Parlino cannot use the folder " + quoted +
           " for its settings: " + std::strerror(errno) + ".";
  }
  if (!S_ISDIR(status.st_mode)) {
    return "Parlino cannot use " + quoted + " for its settings: it is not a folder.";
  }
  if (status.st_uid != getuid()) {
    return "Parlino will not keep its settings in " + quoted +
           ": the folder belongs to another user. Set XDG_CONFIG_HOME to a folder of your own.";
  }
  if ((status.st_mode & S_IWOTH) != 0) {
    return "Parlino will not keep its settings in " + quoted +
           ": other users may change that folder. Remove their write permission "
           "(chmod o-w) or set XDG_CONFIG_HOME to a folder of your own.";
  }
  return std::nullopt;
}

}  // namespace parlino::platform::linux_impl
