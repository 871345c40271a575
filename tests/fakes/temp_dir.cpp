#include "tests/fakes/temp_dir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace parlino::testing {

TempDir::TempDir() {
  // A random name that no one has taken; create_directory is false for an existing folder.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = std::filesystem::temp_directory_path() /
                           ("parlino-test-" + std::to_string(random()) + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace parlino::testing
