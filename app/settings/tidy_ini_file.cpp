#include "app/settings/tidy_ini_file.h"

namespace parlino::app {
namespace {

bool IsHeader(TextView line) {
  return line.find(u'[') != TextView::npos && line.find(u']') != TextView::npos;
}

}  // namespace

void TidyIniLines(platform::TextFile& file) {
  // The lines that stay: not empty and not a single space.
  std::vector<std::size_t> kept;
  kept.reserve(file.lines.size());
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const Text& content = file.lines[i].content();
    if (!content.empty() && content != u" ") kept.push_back(i);
  }

  // Every other line is examined, starting with line 1, and the bound grows with each insertion:
  // sections of an odd number of lines (the slot file's shape) get a separator before every
  // header but the first. The separator is a lone CR, which reads back as two blank lines.
  // Built in one pass: the lines up to the examined one are final once it is examined.
  std::vector<platform::TextLine> tidied;
  tidied.reserve(kept.size() + kept.size() / 4 + 1);
  std::size_t next = 0;  // the first kept line not yet in `tidied`
  std::size_t total = kept.size();
  for (std::size_t i = 0; i + 2 <= total; i += 2) {
    while (tidied.size() < i + 1) tidied.push_back(std::move(file.lines[kept[next++]]));
    if (IsHeader(file.lines[kept[next]].content())) {
      tidied.emplace_back(Text(u"\r"), platform::LineEnding::None);
      ++total;
    }
  }
  while (next < kept.size()) tidied.push_back(std::move(file.lines[kept[next++]]));

  for (platform::TextLine& line : tidied) line.SetEnding(platform::LineEnding::CrLf);
  file.lines = std::move(tidied);
}

void TidyIniFile(const std::filesystem::path& path) {
  auto file = platform::ReadTextFile(path);
  if (!file) return;
  TidyIniLines(*file);
  const std::string bytes = platform::EncodeText(*file);
  if (bytes != file->source) platform::ReplaceFileAtomically(path, bytes);
}

}  // namespace parlino::app
