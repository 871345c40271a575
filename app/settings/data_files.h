#pragma once
#include <filesystem>

namespace parlino::app {

// The files the program keeps in its data folder.
inline constexpr const char* kDataFiles[] = {"cfg.ini", "slots.ini", "words.ini"};

// Removes what a killed run left of the data files' safe replacement (its own temporary files,
// never other files), at start, before anything is written.
void RemoveLeftoverTemporaryFiles(const std::filesystem::path& dataFolder);

}  // namespace parlino::app
