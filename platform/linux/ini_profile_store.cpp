#include "platform/linux/ini_profile_store.h"

#include <algorithm>

#include "platform/ini_lines.h"
#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

struct KeyLine {
  TextView key;
  TextView value;
};

std::optional<KeyLine> ParseKeyLine(TextView line) {
  const TextView trimmed = TrimIniBlanks(line);
  if (trimmed.empty() || trimmed.front() == u';') return std::nullopt;
  const std::size_t equals = trimmed.find(u'=');
  if (equals == TextView::npos) return std::nullopt;
  return KeyLine{TrimIniBlanks(trimmed.substr(0, equals)),
                 TrimIniBlanks(trimmed.substr(equals + 1))};
}

TextView WithoutQuotes(TextView value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

Text Unquote(TextView value) {
  return Text(WithoutQuotes(value).substr(0, ProfileStore::kMaxValueLength));
}

// A value is one line: line breaks in it would start new keys of their own.
Text OneLine(TextView value) {
  Text line(value);
  for (char16_t& c : line) {
    if (c == u'\r' || c == u'\n') c = u' ';
  }
  return line;
}

// An INI file's lines with an index of its section headers, so that a load or a save of many
// keys walks the file's lines once, not once per key.
class IniDocument {
 public:
  explicit IniDocument(TextFile file = {}) : file_(std::move(file)) { Index(); }

  TextFile& file() { return file_; }

  std::optional<Text> Read(TextView section, TextView key) const {
    const auto range = FindSection(section);
    if (!range) return std::nullopt;
    const auto line = FindKey(*range, key);
    if (!line) return std::nullopt;
    return Unquote(ParseKeyLine(file_.lines[*line].content())->value);
  }

  void Write(TextView section, TextView key, TextView value) {
    const Text valueLine = OneLine(value);
    const auto range = FindSection(section);
    if (!range) {
      Insert(file_.lines.size(), u"[" + Text(section) + u"]");
      Insert(file_.lines.size(), Text(key) + u"=" + valueLine);
    } else if (const auto line = FindKey(*range, key)) {
      TextLine& target = file_.lines[*line];
      const KeyLine existing = *ParseKeyLine(target.content());
      // A value that reads back the same stays as it is, bytes and all.
      if (WithoutQuotes(existing.value) == valueLine) return;
      // Keep the key as the file spells it; only the value changes.
      target.SetContent(Text(existing.key) + u"=" + valueLine);
    } else {
      // After the section's last non-blank line, so that a blank line before the next section
      // stays where it is.
      std::size_t at = range->end;
      while (at > range->header + 1 && TrimIniBlanks(file_.lines[at - 1].content()).empty()) --at;
      Insert(at, Text(key) + u"=" + valueLine);
    }
  }

  bool DeleteKey(TextView section, TextView key) {
    const auto range = FindSection(section);
    if (!range) return false;
    const auto line = FindKey(*range, key);
    if (!line) return false;
    file_.lines.erase(file_.lines.begin() + static_cast<std::ptrdiff_t>(*line));
    for (Header& header : headers_) {
      if (header.line > *line) --header.line;
    }
    return true;
  }

  std::vector<Text> KeyNames(TextView section) const {
    std::vector<Text> names;
    const auto range = FindSection(section);
    if (!range) return names;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
      if (const auto parsed = ParseKeyLine(file_.lines[i].content()))
        names.emplace_back(parsed->key);
    }
    return names;
  }

  // After an edit of the whole file.
  void Index() {
    headers_.clear();
    for (std::size_t i = 0; i < file_.lines.size(); ++i) {
      if (const auto name = IniSectionName(file_.lines[i].content())) {
        headers_.push_back({i, Text(*name)});
      }
    }
  }

 private:
  struct Header {
    std::size_t line;
    Text name;
  };
  // Lines [header + 1, end) of a section.
  struct SectionRange {
    std::size_t header;
    std::size_t end;
  };

  std::optional<SectionRange> FindSection(TextView section) const {
    for (std::size_t h = 0; h < headers_.size(); ++h) {
      if (!EqualsIgnoreAsciiCase(headers_[h].name, section)) continue;
      return SectionRange{headers_[h].line,
                          h + 1 < headers_.size() ? headers_[h + 1].line : file_.lines.size()};
    }
    return std::nullopt;
  }

  std::optional<std::size_t> FindKey(const SectionRange& range, TextView key) const {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
      const auto parsed = ParseKeyLine(file_.lines[i].content());
      if (parsed && EqualsIgnoreAsciiCase(parsed->key, key)) return i;
    }
    return std::nullopt;
  }

  void Insert(std::size_t at, Text content) {
    // The line before the new one must end, or the two would run together.
    if (at > 0 && file_.lines[at - 1].ending() == LineEnding::None) {
      file_.lines[at - 1].SetEnding(LineEnding::CrLf);
    }
    const auto name = IniSectionName(content);
    file_.lines.insert(file_.lines.begin() + static_cast<std::ptrdiff_t>(at),
                       TextLine(std::move(content), LineEnding::CrLf));
    for (Header& header : headers_) {
      if (header.line >= at) ++header.line;
    }
    if (name) {
      const auto place =
          std::ranges::find_if(headers_, [at](const Header& header) { return header.line > at; });
      headers_.insert(place, Header{at, Text(*name)});
    }
  }

  TextFile file_;
  std::vector<Header> headers_;
};

class IniProfileFile final : public ProfileFile {
 public:
  explicit IniProfileFile(std::filesystem::path path) : path_(std::move(path)) { Load(); }

  std::optional<Text> Read(TextView section, TextView key) override {
    if (stale_) Load();
    return document_ ? document_->Read(section, key) : std::nullopt;
  }

  void Write(TextView section, TextView key, TextView value) override {
    Document().Write(section, key, value);
    changed_ = true;
  }

  bool DeleteKey(TextView section, TextView key) {
    if (stale_) Load();
    if (readError_) Document();  // throws
    if (!document_ || !document_->DeleteKey(section, key)) return false;
    changed_ = true;
    return true;
  }

  std::vector<Text> KeyNames(TextView section) const {
    return document_ ? document_->KeyNames(section) : std::vector<Text>();
  }

  void Commit(const TextFile::Edit& edit) override {
    if (stale_ || readError_ || !document_ || (!edit && !changed_)) return;
    if (edit) {
      edit(document_->file());
      document_->Index();
    }
    std::string bytes = EncodeText(document_->file());
    // An unchanged file is not written again.
    if (bytes == document_->file().source) return;
    ReplaceFileAtomically(path_, bytes);
    // Anything after this starts again from the file as written.
    stale_ = true;
  }

  std::optional<std::string> ReadError() const override {
    if (!readError_) return std::nullopt;
    return std::string(readError_->what());
  }

 private:
  void Load() {
    stale_ = false;
    changed_ = false;
    document_.reset();
    readError_.reset();
    try {
      if (auto file = ReadTextFile(path_)) document_.emplace(std::move(*file));
    } catch (const FileError& error) {
      readError_ = error;
    }
  }

  IniDocument& Document() {
    if (stale_) Load();
    // What could not be read is never replaced.
    if (readError_) {
      throw FileError(true, path_, static_cast<int>(readError_->status()), readError_->reason());
    }
    if (!document_) document_.emplace();
    return *document_;
  }

  std::filesystem::path path_;
  std::optional<IniDocument> document_;  // nothing while the file does not exist
  std::optional<FileError> readError_;
  bool changed_ = false;
  bool stale_ = false;  // written: the next use reads the file again
};

}  // namespace

std::unique_ptr<ProfileFile> IniProfileStore::Open(const std::filesystem::path& file) {
  return std::make_unique<IniProfileFile>(file);
}

std::optional<Text> IniProfileStore::Read(const std::filesystem::path& path, TextView section,
                                          TextView key) {
  return IniProfileFile(path).Read(section, key);
}

void IniProfileStore::Write(const std::filesystem::path& path, TextView section, TextView key,
                            TextView value) {
  IniProfileFile file(path);
  file.Write(section, key, value);
  file.Commit({});
}

void IniProfileStore::DeleteKey(const std::filesystem::path& path, TextView section, TextView key) {
  IniProfileFile file(path);
  if (file.DeleteKey(section, key)) file.Commit({});
}

std::vector<Text> IniProfileStore::KeyNames(const std::filesystem::path& path, TextView section) {
  return IniProfileFile(path).KeyNames(section);
}

}  // namespace parlino::platform::linux_impl
