#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/profile_store.h"

namespace parlino::fuzz {
namespace {

// Never destroyed, so that it is still there for the clean-up at exit.
const std::filesystem::path& ScratchFolder() {
  static const auto* folder = [] {
    const std::filesystem::path shm = "/dev/shm";
    std::string pattern =
        ((std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path()) /
         "parlino-fuzz-XXXXXX")
            .string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("parlino fuzz: no scratch folder");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;  // a folder left behind in /dev/shm is no reason to fail
      std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return new std::filesystem::path(pattern);
  }();
  return *folder;
}

}  // namespace

void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "Check failed: %s\n", what);
  std::abort();
}

void Check(bool holds, const char* what, TextView got, TextView expected) {
  if (holds) return;
  std::fprintf(stderr, "Check failed: %s\ngot:      \"%s\"\nexpected: \"%s\"\n", what,
               ToUtf8(got).c_str(), ToUtf8(expected).c_str());
  std::abort();
}

Text IniReadBack(TextView value) {
  const auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\v'; };
  Text line(value);
  for (char16_t& c : line) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  TextView view = line;
  while (!view.empty() && isBlank(view.front())) view.remove_prefix(1);
  while (!view.empty() && isBlank(view.back())) view.remove_suffix(1);
  if (view.size() >= 2 && (view.front() == u'"' || view.front() == u'\'') &&
      view.back() == view.front()) {
    view = view.substr(1, view.size() - 2);
  }
  return Text(view.substr(0, platform::ProfileStore::kMaxValueLength));
}

std::string_view Fields::Next() {
  const std::size_t end = rest_.find('\n');
  const std::string_view field = rest_.substr(0, end);
  rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
  return field;
}

std::filesystem::path ScratchFile(const std::string& name) {
  return ScratchFolder() / name;
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Check(out.good(), "the scratch file is written");
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace parlino::fuzz
