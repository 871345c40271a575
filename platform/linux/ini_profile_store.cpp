#include "platform/linux/ini_profile_store.h"

#include "platform/text_file.h"

namespace parlino::platform::linux_impl {
namespace {

constexpr TextView kLineEnding = u"\r\n";

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

TextView TrimBlanks(TextView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The section name of a header line ("[name]", blanks allowed around it), or nothing.
std::optional<TextView> SectionName(TextView line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != u'[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(u']');
  return TrimBlanks(line.substr(0, close));
}

struct KeyLine {
  TextView key;
  TextView value;
};

std::optional<KeyLine> ParseKeyLine(TextView line) {
  const TextView trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed.front() == u';') return std::nullopt;
  const std::size_t equals = trimmed.find(u'=');
  if (equals == TextView::npos) return std::nullopt;
  return KeyLine{TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1))};
}

// Lines [begin, end) of the first section named `section`; begin is the header's index.
struct SectionRange {
  std::size_t header;
  std::size_t end;
};

std::optional<SectionRange> FindSection(const TextFile& file, TextView section) {
  std::optional<SectionRange> found;
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const auto name = SectionName(file.lines[i].content);
    if (!name) continue;
    if (found) {
      found->end = i;
      return found;
    }
    if (EqualsIgnoreAsciiCase(*name, section)) found = SectionRange{i, file.lines.size()};
  }
  return found;
}

std::optional<std::size_t> FindKey(const TextFile& file, const SectionRange& range, TextView key) {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto parsed = ParseKeyLine(file.lines[i].content);
    if (parsed && EqualsIgnoreAsciiCase(parsed->key, key)) return i;
  }
  return std::nullopt;
}

Text Unquote(TextView value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return Text(value.substr(0, ProfileStore::kMaxValueLength));
}

// A value is one line: line breaks in it would start new keys of their own.
Text OneLine(TextView value) {
  Text line(value);
  for (char16_t& c : line) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  return line;
}

void InsertLine(TextFile& file, std::size_t at, Text content) {
  // The line before the new one must end, or the two would run together.
  if (at > 0 && file.lines[at - 1].ending.empty()) file.lines[at - 1].ending = kLineEnding;
  file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at),
                    TextLine{std::move(content), Text(kLineEnding)});
}

void Save(const std::filesystem::path& path, const TextFile& file) {
  ReplaceFileAtomically(path, EncodeText(file));
}

}  // namespace

std::optional<Text> IniProfileStore::Read(const std::filesystem::path& path, TextView section,
                                          TextView key) {
  const auto file = ReadTextFile(path);
  if (!file) return std::nullopt;
  const auto range = FindSection(*file, section);
  if (!range) return std::nullopt;
  const auto line = FindKey(*file, *range, key);
  if (!line) return std::nullopt;
  return Unquote(ParseKeyLine(file->lines[*line].content)->value);
}

void IniProfileStore::Write(const std::filesystem::path& path, TextView section, TextView key,
                            TextView value) {
  TextFile file = ReadTextFile(path).value_or(TextFile{});
  const Text valueLine = OneLine(value);
  const auto range = FindSection(file, section);
  if (!range) {
    InsertLine(file, file.lines.size(), u"[" + Text(section) + u"]");
    InsertLine(file, file.lines.size(), Text(key) + u"=" + valueLine);
  } else if (const auto line = FindKey(file, *range, key)) {
    // Keep the key as the file spells it; only the value changes.
    const Text existingKey(ParseKeyLine(file.lines[*line].content)->key);
    file.lines[*line].content = existingKey + u"=" + valueLine;
  } else {
    // After the section's last non-blank line, so that a blank line before the next section stays.
    std::size_t at = range->end;
    while (at > range->header + 1 && TrimBlanks(file.lines[at - 1].content).empty()) --at;
    InsertLine(file, at, Text(key) + u"=" + valueLine);
  }
  Save(path, file);
}

void IniProfileStore::DeleteKey(const std::filesystem::path& path, TextView section, TextView key) {
  auto file = ReadTextFile(path);
  if (!file) return;
  const auto range = FindSection(*file, section);
  if (!range) return;
  const auto line = FindKey(*file, *range, key);
  if (!line) return;
  file->lines.erase(file->lines.begin() + static_cast<std::ptrdiff_t>(*line));
  Save(path, *file);
}

std::vector<Text> IniProfileStore::KeyNames(const std::filesystem::path& path, TextView section) {
  std::vector<Text> names;
  const auto file = ReadTextFile(path);
  if (!file) return names;
  const auto range = FindSection(*file, section);
  if (!range) return names;
  for (std::size_t i = range->header + 1; i < range->end; ++i) {
    if (const auto parsed = ParseKeyLine(file->lines[i].content)) names.emplace_back(parsed->key);
  }
  return names;
}

}  // namespace parlino::platform::linux_impl
