#pragma once
// What the fuzz targets share: a check that stops the run with a message, the input cut into
// fields, and scratch files on a memory file system (every write of the program syncs its file).
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace parlino::fuzz {

// Stops the run when `holds` is false: libFuzzer keeps the input that did it.
void Check(bool holds, const char* what);
void Check(bool holds, const char* what, TextView got, TextView expected);

// What the profile store reads back for a written value: line breaks become spaces, blanks
// around and one pair of enclosing quotes go, and at most ProfileStore::kMaxValueLength code units
// come back.
Text IniReadBack(TextView value);

// The input as lines: each Next() is the text up to the next line feed; Rest() is what is left.
class Fields {
 public:
  Fields(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}
  std::string_view Next();
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// A file of this process's own scratch folder; the folder goes when the process ends.
std::filesystem::path ScratchFile(const std::string& name);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& file);

}  // namespace parlino::fuzz
