#include "corrections/words_file.h"

#include <algorithm>
#include <system_error>

#include "platform/text_file.h"

namespace parlino::corrections {
namespace {

// Takes the next field off the front of `rest`; see ParseWordsLine.
Text TakeField(TextView& rest) {
  const std::size_t found = rest.find(kSeparator);
  const std::size_t length = found == TextView::npos ? 0 : found;
  Text field(rest.substr(0, length));
  // Without a separator the same count as with one at the very start: eight characters.
  const std::size_t cut = (found == TextView::npos ? 0 : found + 1) + kSeparator.size() - 1;
  rest.remove_prefix(std::min(cut, rest.size()));
  return field;
}

}  // namespace

Correction ParseWordsLine(TextView line) {
  Correction row;
  row.word = TakeField(line);
  row.pronunciation = TakeField(line);
  row.caseMark = Text(line);
  return row;
}

Text FormatWordsLine(const Correction& row) {
  Text line = row.word;
  line += kSeparator;
  line += row.pronunciation;
  line += kSeparator;
  line += row.caseMark;
  return line;
}

bool IsStorableField(TextView field) {
  constexpr char16_t kBreaks[] = {u'\r', u'\n', u'\0'};
  if (field.find_first_of(TextView(kBreaks, 3)) != TextView::npos) return false;
  Text written(field);
  written += kSeparator;
  return written.find(kSeparator) == field.size();
}

std::vector<Correction> ParseWordsFile(std::string_view bytes, const platform::CodePage& page) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::vector<Correction> rows;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
    rows.push_back(ParseWordsLine(page.ToWide(bytes.substr(0, end))));
    std::size_t next = end;
    if (next < bytes.size()) next += bytes.substr(next).starts_with("\r\n") ? 2 : 1;
    bytes.remove_prefix(next);
  }
  return rows;
}

std::string EncodeWordsFile(const std::vector<Correction>& rows, const platform::CodePage& page) {
  std::string bytes;
  for (const Correction& row : rows) {
    bytes += page.FromWide(FormatWordsLine(row));
    bytes += "\r\n";
  }
  // A first word whose bytes look like a byte-order mark would lose them when read: a mark in
  // front is the one the reader skips.
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.insert(0, "\xEF\xBB\xBF");
  return bytes;
}

std::optional<std::vector<Correction>> ReadWordsFile(const std::filesystem::path& path,
                                                     const platform::CodePage& page) {
  const std::optional<std::string> bytes = platform::ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return ParseWordsFile(*bytes, page);
}

void WriteWordsFile(const std::filesystem::path& path, const std::vector<Correction>& rows,
                    const platform::CodePage& page) {
  platform::ReplaceFileAtomically(path, EncodeWordsFile(rows, page));
}

void RemoveWordsFile(const std::filesystem::path& path) noexcept {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace parlino::corrections
