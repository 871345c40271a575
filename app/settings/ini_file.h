#pragma once
// One INI file read and written value by value through the profile store, with the value forms
// the settings use: bool as "1"/"0", int in decimal (also "$"/"0x" hexadecimal when read), text.
// Every read has a default; every write reaches the file at once.
#include <cstdint>
#include <filesystem>

#include "platform/profile_store.h"

namespace parlino::app {

class IniFile {
 public:
  IniFile(platform::ProfileStore& store, std::filesystem::path path)
      : store_(store), path_(std::move(path)) {}

  const std::filesystem::path& path() const { return path_; }

  bool ReadBool(TextView section, TextView key, bool fallback) const;
  std::int32_t ReadInteger(TextView section, TextView key, std::int32_t fallback) const;
  Text ReadString(TextView section, TextView key, TextView fallback) const;

  void WriteBool(TextView section, TextView key, bool value);
  void WriteInteger(TextView section, TextView key, std::int32_t value);
  void WriteString(TextView section, TextView key, TextView value);

 private:
  platform::ProfileStore& store_;
  std::filesystem::path path_;
};

}  // namespace parlino::app
