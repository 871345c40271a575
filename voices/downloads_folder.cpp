#include "voices/downloads_folder.h"

#include <fstream>
#include <system_error>

#include "platform/text_file.h"

namespace parlino::voices {

std::filesystem::path DownloadsFolder(const std::filesystem::path& dataFolder) {
  return dataFolder / "Downloads";
}

void CreateDownloadsFolder(const std::filesystem::path& folder) {
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return;
  if (!std::filesystem::create_directory(folder, error) && error) {
    throw platform::FileError(true, folder, error.value());
  }
  // Something else of that name is no folder to save into.
  if (!std::filesystem::is_directory(folder, error)) {
    throw platform::FileError(true, folder, ENOTDIR);
  }
}

bool IsInstalled(const std::filesystem::path& installer) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(installer, error)) return false;
  std::ifstream file(installer, std::ios::binary | std::ios::ate);
  return file.is_open() && file.tellg() > 0;
}

}  // namespace parlino::voices
