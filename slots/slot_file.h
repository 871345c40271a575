#pragma once
// slots.ini: one section per voice slot, Slot_0, Slot_1, ... numbered without gaps. Each names
// a voice with its speed, pitch and volume, the voice's generation and the slot's hot key. Values
// are read and written through the profile store; deleting a slot removes its section and moves
// the sections after it down by one, so the numbers stay contiguous.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/profile_store.h"
#include "platform/text.h"
#include "platform/text_file.h"
#include "speech/catalogue/voice_catalogue.h"

namespace parlino::voice_slots {

// Slot numbers are 0..255.
inline constexpr int kMaxSlots = 256;

// One section as the loader reads it. The three values are the texts as stored (a modern voice's
// 15 x step + 180, a legacy engine's own units, volume in percent), shown and used as they are.
struct SlotRecord {
  Text voice;  // the catalogue's display name, without " (SAPI5)"
  Text speed;
  Text pitch;
  Text volume;
  // Stored as 5 for a modern voice; any other stored value counts as a legacy engine.
  speech::VoiceGeneration generation = speech::VoiceGeneration::Sapi4;
  std::uint16_t hotKey = 0;  // only the key and the Shift, Ctrl and Alt bits

  friend bool operator==(const SlotRecord&, const SlotRecord&) = default;
};

// What the slot editor writes: the values as numbers.
struct SlotValues {
  Text voice;
  std::uint16_t hotKey = 0;
  std::int32_t speed = 0;
  std::int32_t pitch = 0;
  std::int32_t volume = 0;
  speech::VoiceGeneration generation = speech::VoiceGeneration::Sapi5;
};

// "Slot_" followed by n.
Text SlotSection(int n);

// A stored hot key: its low 16 bits, of these only the key byte and the Shift, Ctrl, Alt bits.
std::uint16_t NormalizedHotKey(std::int32_t stored);

// Line edits of an INI file. Headers are matched as the profile store reads them: the name
// between the brackets with the blanks around it ignored, letter case ignored. A file edited by
// hand may repeat a section, which reads never see behind the first: the edits take the repeats
// along, so that deleting a slot never brings one of them to light.
// Removes every section of that name, its header and every line up to the next header.
void DeleteIniSection(platform::TextFile& file, TextView section);
// Renames every section of that name by writing its header anew; nothing when there is none.
void RenameIniSection(platform::TextFile& file, TextView oldName, TextView newName);

class SlotFile {
 public:
  // Tidies the file's lines after the program changed it (blank lines out, separators before
  // headers); it runs in the same replacement of the file as the change.
  using Tidy = platform::TextFile::Edit;

  SlotFile(platform::ProfileStore& store, std::filesystem::path path, Tidy tidy)
      : store_(store), path_(std::move(path)), tidy_(std::move(tidy)) {}

  const std::filesystem::path& path() const { return path_; }

  // Slot_0, Slot_1, ... up to the first that is missing or has no key, at most kMaxSlots. A
  // missing file gives no slot.
  std::vector<SlotRecord> Load() const;
  // A section with at least one key; one without counts as missing, as for the loader.
  bool Exists(int n) const;
  // The smallest slot number whose section is missing; nothing when all kMaxSlots exist.
  std::optional<int> FreeNumber() const;

  // Writes section Slot_n (a section that exists is changed in place) and tidies the file, in
  // one replacement of it. Throws PlatformError; the file is then unchanged.
  void Write(int n, const SlotValues& values);
  // Removes section Slot_index and renames Slot_(index + 1) .. Slot_count to Slot_index ..
  // Slot_(count - 1) and tidies the file, in one replacement of it. `count` is the number of
  // slots listed before the deletion. Throws PlatformError (also for a file that exists but
  // cannot be read); the file is then unchanged.
  void Delete(int index, int count);
  // Deletes the whole file; a missing file is no error. Returns what went wrong, if anything.
  std::error_code Remove();

 private:
  platform::ProfileStore& store_;
  std::filesystem::path path_;
  Tidy tidy_;
};

}  // namespace parlino::voice_slots
