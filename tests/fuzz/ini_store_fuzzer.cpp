// The INI store on any file: reading, listing, writing and reading back.
// Input: the section, the key, the value (a byte 0x01 stands for a line feed in it), a second
// section to watch, each on a line of its own; the rest is the file.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/ini_profile_store.h"
#include "tests/fuzz/fuzz_support.h"

namespace parlino::fuzz {
namespace {

using platform::ProfileStore;

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\v';
}

bool HasLineBreak(TextView text) {
  return text.find_first_of(u"\r\n") != TextView::npos;
}

bool HasOuterBlanks(TextView text) {
  return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

// Names as the program uses them: one line, no blanks around, and nothing that would end the
// header or the key early.
bool IsSectionName(TextView name) {
  return !HasLineBreak(name) && !HasOuterBlanks(name) && name.find(u']') == TextView::npos;
}

bool IsKeyName(TextView name) {
  return !name.empty() && !HasLineBreak(name) && !HasOuterBlanks(name) &&
         name.find(u'=') == TextView::npos && name.front() != u';' && name.front() != u'[';
}

// The keys of a section with their values, as the store lists and reads them.
std::vector<std::pair<Text, Text>> Values(ProfileStore& store, const std::filesystem::path& file,
                                          TextView section) {
  std::vector<std::pair<Text, Text>> values;
  for (const Text& key : store.KeyNames(file, section)) {
    const std::optional<Text> value = store.Read(file, section, key);
    Check(value.has_value(), "every listed key can be read");
    Check(value->size() <= ProfileStore::kMaxValueLength, "values keep the length limit");
    values.emplace_back(key, *value);
  }
  return values;
}

}  // namespace
}  // namespace parlino::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  Fields fields(data, size);
  const Text section = FromUtf8(fields.Next());
  const Text key = FromUtf8(fields.Next());
  std::string valueBytes(fields.Next());
  for (char& c : valueBytes) {
    if (c == '\x01') c = '\n';
  }
  const Text value = FromUtf8(valueBytes);
  const Text watched = FromUtf8(fields.Next());
  const std::filesystem::path file = ScratchFile("store.ini");
  const std::string bytesBefore(fields.Rest());
  WriteBytes(file, bytesBefore);

  platform::linux_impl::IniProfileStore store;
  const std::optional<Text> before = store.Read(file, section, key);
  Check(!before || before->size() <= ProfileStore::kMaxValueLength, "values keep the length limit");
  const auto sectionBefore = Values(store, file, section);
  const auto watchedBefore = Values(store, file, watched);

  store.Write(file, section, key, value);
  if (!IsSectionName(section) || !IsKeyName(key)) return 0;

  const std::optional<Text> after = store.Read(file, section, key);
  Check(after.has_value(), "the written key is there");
  Check(*after == IniReadBack(value), "the written value reads back", *after, IniReadBack(value));
  // Every other value stays as it was.
  const auto keep = [&](const std::vector<std::pair<Text, Text>>& old, TextView where) {
    for (const auto& [name, oldValue] : old) {
      if (EqualsIgnoreAsciiCase(where, section) && EqualsIgnoreAsciiCase(name, key)) continue;
      const std::optional<Text> now = store.Read(file, where, name);
      Check(now.has_value(), "another key is still there");
      Check(*now == oldValue, "another value is unchanged", *now, oldValue);
    }
  };
  keep(sectionBefore, section);
  keep(watchedBefore, watched);
  // Writing the same again changes nothing.
  const std::string written = ReadBytes(file);
  store.Write(file, section, key, value);
  Check(ReadBytes(file) == written, "a second write of the same value leaves the file as it is");

  // A run of reads and writes on the opened file, as loads and saves make them, gives the same.
  WriteBytes(file, bytesBefore);
  {
    const auto opened = store.Open(file);
    opened->Write(section, key, value);
    const std::optional<Text> inMemory = opened->Read(section, key);
    Check(inMemory == after, "the opened file reads the write back before it is committed");
    opened->Commit();
  }
  Check(ReadBytes(file) == written, "a committed write gives the file a single write gives");
  return 0;
}
