#pragma once
// The downloads folder in the user's data folder, where every installer is kept under its name,
// and what makes a package count as installed.
#include <filesystem>

namespace parlino::voices {

std::filesystem::path DownloadsFolder(const std::filesystem::path& dataFolder);

// Creates the folder (one level) when it is missing. Throws FileError with the system's reason.
void CreateDownloadsFolder(const std::filesystem::path& folder);

// A package is installed exactly when its installer is there with more than 0 bytes; a file
// that cannot be opened for reading counts as empty.
bool IsInstalled(const std::filesystem::path& installer);

}  // namespace parlino::voices
