#pragma once
#include <filesystem>

namespace parlino::app {

// Rewrites an INI file without blank lines and with a separator line before section headers, so
// that the files the program writes stay readable. Keeps the file's encoding; a missing file is
// left alone. Throws PlatformError when the file cannot be replaced.
void TidyIniFile(const std::filesystem::path& path);

}  // namespace parlino::app
