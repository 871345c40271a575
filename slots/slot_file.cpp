#include "slots/slot_file.h"

#include <system_error>

#include "platform/hot_key_registrar.h"
#include "platform/ini_lines.h"
#include "platform/platform_error.h"

namespace parlino::voice_slots {
namespace {

std::optional<std::size_t> FindHeader(const platform::TextFile& file, TextView section) {
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    const auto name = platform::IniSectionName(file.lines[i].content());
    if (name && EqualsIgnoreAsciiCase(*name, section)) return i;
  }
  return std::nullopt;
}

constexpr std::uint16_t kHotKeyBits =
    0xFF | platform::kHotKeyShift | platform::kHotKeyCtrl | platform::kHotKeyAlt;

}  // namespace

Text SlotSection(int n) {
  return u"Slot_" + ToText(n);
}

std::uint16_t NormalizedHotKey(std::int32_t stored) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(stored) & kHotKeyBits);
}

void DeleteIniSection(platform::TextFile& file, TextView section) {
  while (const auto header = FindHeader(file, section)) {
    std::size_t end = *header + 1;
    while (end < file.lines.size() && !platform::IniSectionName(file.lines[end].content())) ++end;
    file.lines.erase(file.lines.begin() + static_cast<std::ptrdiff_t>(*header),
                     file.lines.begin() + static_cast<std::ptrdiff_t>(end));
  }
}

void RenameIniSection(platform::TextFile& file, TextView oldName, TextView newName) {
  for (platform::TextLine& line : file.lines) {
    const auto name = platform::IniSectionName(line.content());
    if (name && EqualsIgnoreAsciiCase(*name, oldName)) line.SetContent(u"[" + Text(newName) + u"]");
  }
}

std::vector<SlotRecord> SlotFile::Load() const {
  std::vector<SlotRecord> slots;
  for (int n = 0; n < kMaxSlots && Exists(n); ++n) {
    const Text section = SlotSection(n);
    const auto text = [&](TextView key) {
      return store_.Read(path_, section, key).value_or(Text());
    };
    const auto integer = [&](TextView key, std::int32_t fallback) {
      const auto value = store_.Read(path_, section, key);
      return value ? ParseInteger(*value).value_or(fallback) : fallback;
    };
    SlotRecord slot;
    slot.voice = text(u"Voice");
    slot.speed = text(u"Speed");
    slot.pitch = text(u"Pitch");
    slot.volume = text(u"Volume");
    slot.generation = speech::StoredGeneration(integer(u"SAPIVersion", 4))
                          .value_or(speech::VoiceGeneration::Sapi4);
    slot.hotKey = NormalizedHotKey(integer(u"HotKey", 0));
    slots.push_back(std::move(slot));
  }
  return slots;
}

bool SlotFile::Exists(int n) const {
  return !store_.KeyNames(path_, SlotSection(n)).empty();
}

std::optional<int> SlotFile::FreeNumber() const {
  for (int n = 0; n < kMaxSlots; ++n) {
    if (!Exists(n)) return n;
  }
  return std::nullopt;
}

void SlotFile::Write(int n, const SlotValues& values) {
  const Text section = SlotSection(n);
  const auto file = store_.Open(path_);
  file->Write(section, u"Voice", values.voice);
  file->Write(section, u"HotKey", ToText(values.hotKey));
  file->Write(section, u"Speed", ToText(values.speed));
  file->Write(section, u"Pitch", ToText(values.pitch));
  file->Write(section, u"Volume", ToText(values.volume));
  file->Write(section, u"SAPIVersion", ToText(static_cast<std::int32_t>(values.generation)));
  file->Commit(tidy_);
}

void SlotFile::Delete(int index, int count) {
  if (index < 0) return;
  const auto file = store_.Open(path_);
  if (const auto error = file->ReadError()) throw PlatformError(*error);
  file->Commit([&](platform::TextFile& lines) {
    DeleteIniSection(lines, SlotSection(index));
    for (int b = index; b < count; ++b) {
      RenameIniSection(lines, SlotSection(b + 1), SlotSection(b));
    }
    if (tidy_) tidy_(lines);
  });
}

std::error_code SlotFile::Remove() {
  std::error_code error;
  std::filesystem::remove(path_, error);
  return error;
}

}  // namespace parlino::voice_slots
