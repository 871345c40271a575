#include "app/settings/tidy_ini_file.h"

#include <algorithm>

#include "platform/text_file.h"

namespace parlino::app {
namespace {

bool IsHeader(TextView line) {
  return line.find(u'[') != TextView::npos && line.find(u']') != TextView::npos;
}

}  // namespace

void TidyIniFile(const std::filesystem::path& path) {
  auto file = platform::ReadTextFile(path);
  if (!file) return;
  auto& lines = file->lines;

  std::erase_if(lines, [](const platform::TextLine& line) {
    return line.content.empty() || line.content == u" ";
  });

  // Every other line is examined, starting with line 1, and the bound grows with each insertion:
  // sections of an odd number of lines (the slot file's shape) get a separator before every
  // header but the first. The separator is a lone CR, which reads back as two blank lines.
  for (std::size_t i = 0; i + 2 <= lines.size(); i += 2) {
    if (IsHeader(lines[i + 1].content)) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i) + 1, {u"\r", Text()});
    }
  }

  for (auto& line : lines) line.ending = u"\r\n";
  platform::ReplaceFileAtomically(path, platform::EncodeText(*file));
}

}  // namespace parlino::app
