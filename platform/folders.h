#pragma once
#include <filesystem>

namespace parlino::platform {

// The two folders the program works with, fixed once before any window exists.
struct Folders {
  std::filesystem::path programFolder;  // the program's own data: help pages, voice catalogue
  std::filesystem::path dataFolder;     // the user's settings, slots, corrections, log, downloads
};

}  // namespace parlino::platform
