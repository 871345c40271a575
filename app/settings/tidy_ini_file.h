#pragma once
#include <filesystem>

#include "platform/text_file.h"

namespace parlino::app {

// Removes the blank lines of an INI file's lines and puts a separator line before section
// headers, so that the files the program writes stay readable; every line then ends in CR LF.
// The lines' own bytes stay as they are. Tidying a tidied file changes nothing.
void TidyIniLines(platform::TextFile& file);

// TidyIniLines on the file at `path`, written back safely in its own encoding; a missing file is
// left alone. Throws PlatformError when the file cannot be read or replaced.
void TidyIniFile(const std::filesystem::path& path);

}  // namespace parlino::app
