// Runs a fuzz target once over every file of the folders (or files) it is given, for the builds
// without libFuzzer: the seed corpora then run as ordinary tests.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path given = argv[i];
    if (!std::filesystem::is_directory(given)) {
      Run(given);
      ++runs;
      continue;
    }
    for (const auto& entry : std::filesystem::directory_iterator(given)) {
      if (!entry.is_regular_file()) continue;
      Run(entry.path());
      ++runs;
    }
  }
  std::printf("%d inputs run\n", runs);
  return runs > 0 ? 0 : 1;  // an empty corpus is a mistake of the build, not a success
}
