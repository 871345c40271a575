#pragma once
// One INI file read and written value by value through the profile store, with the value forms
// the settings use: bool as "1"/"0", int in decimal (also "$"/"0x" hexadecimal when read), text.
// Every read has a default. The file is read once when this is made; the writes reach it
// together at Commit, in one safe replacement.
#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/profile_store.h"

namespace parlino::app {

class IniFile {
 public:
  IniFile(platform::ProfileStore& store, std::filesystem::path path)
      : path_(std::move(path)), file_(store.Open(path_)) {}

  const std::filesystem::path& path() const { return path_; }
  // Why the file could not be read, when it exists but could not: every read gives its default.
  std::optional<std::string> ReadError() const { return file_->ReadError(); }

  bool ReadBool(TextView section, TextView key, bool fallback) const;
  std::int32_t ReadInteger(TextView section, TextView key, std::int32_t fallback) const;
  Text ReadString(TextView section, TextView key, TextView fallback) const;

  // Throw PlatformError when the file exists but could not be read.
  void WriteBool(TextView section, TextView key, bool value);
  void WriteInteger(TextView section, TextView key, std::int32_t value);
  void WriteString(TextView section, TextView key, TextView value);

  // Puts the writes on disk, after `edit` has run over the whole file. Throws PlatformError.
  void Commit(const platform::TextFile::Edit& edit = {}) { file_->Commit(edit); }

 private:
  std::filesystem::path path_;
  std::unique_ptr<platform::ProfileFile> file_;
};

}  // namespace parlino::app
