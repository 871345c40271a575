#include "app/settings/ini_file.h"

namespace parlino::app {

bool IniFile::ReadBool(TextView section, TextView key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::int32_t IniFile::ReadInteger(TextView section, TextView key, std::int32_t fallback) const {
  const auto text = file_->Read(section, key);
  if (!text) return fallback;
  return ParseInteger(*text).value_or(fallback);
}

Text IniFile::ReadString(TextView section, TextView key, TextView fallback) const {
  return file_->Read(section, key).value_or(Text(fallback));
}

void IniFile::WriteBool(TextView section, TextView key, bool value) {
  file_->Write(section, key, value ? u"1" : u"0");
}

void IniFile::WriteInteger(TextView section, TextView key, std::int32_t value) {
  file_->Write(section, key, ToText(value));
}

void IniFile::WriteString(TextView section, TextView key, TextView value) {
  file_->Write(section, key, value);
}

}  // namespace parlino::app
