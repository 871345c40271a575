// slots.ini on any bytes, through the real profile store: loading gives at most 256 well-formed
// slots and agrees with the first free number; a slot written as the editor writes it, and a row
// deleted as the list deletes it, give the slot table that the list then expects.
// Input: the write (slot number, hot key, speed, pitch, volume, version, as decimal numbers
// between spaces), the voice, the row to delete, each on a line of its own; the rest is the file.
#include <charconv>
#include <vector>

#include "app/settings/tidy_ini_file.h"
#include "platform/hot_key_registrar.h"
#include "platform/linux/ini_profile_store.h"
#include "slots/slot_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace parlino::fuzz {
namespace {

constexpr std::size_t kMaxSlots = voice_slots::kMaxSlots;

using voice_slots::SlotFile;
using voice_slots::SlotRecord;

// The numbers of a field; what is not a number counts as 0, what is missing too.
std::vector<std::int32_t> Numbers(std::string_view field, std::size_t count) {
  std::vector<std::int32_t> numbers(count, 0);
  for (std::size_t i = 0; i < count && !field.empty(); ++i) {
    const std::size_t end = field.find(' ');
    const std::string_view word = field.substr(0, end);
    std::from_chars(word.data(), word.data() + word.size(), numbers[i]);
    field.remove_prefix(end == std::string_view::npos ? field.size() : end + 1);
  }
  return numbers;
}

std::vector<SlotRecord> LoadChecked(const SlotFile& slots) {
  constexpr std::uint16_t kHotKeyBits =
      0xFF | platform::kHotKeyShift | platform::kHotKeyCtrl | platform::kHotKeyAlt;
  const std::vector<SlotRecord> loaded = slots.Load();
  Check(loaded.size() <= kMaxSlots, "at most 256 slots");
  for (const SlotRecord& slot : loaded) {
    Check((slot.hotKey & ~kHotKeyBits) == 0, "a hot key keeps the key and Shift, Ctrl, Alt only");
  }
  const std::optional<int> free = slots.FreeNumber();
  Check(loaded.size() == kMaxSlots ? !free : free == static_cast<int>(loaded.size()),
        "the first free number follows the loaded slots");
  return loaded;
}

}  // namespace
}  // namespace parlino::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace parlino;
  using namespace parlino::fuzz;
  Fields fields(data, size);
  const std::vector<std::int32_t> write = Numbers(fields.Next(), 6);
  const Text voice = FromUtf8(fields.Next());
  const std::int32_t deleted = Numbers(fields.Next(), 1)[0];
  const std::filesystem::path file = ScratchFile("slots.ini");
  WriteBytes(file, fields.Rest());

  platform::linux_impl::IniProfileStore store;
  SlotFile slots(store, file, &app::TidyIniLines);
  const std::vector<SlotRecord> before = LoadChecked(slots);

  // The editor writes an existing slot, the next one, or (by hand) one beyond a gap.
  const std::size_t n =
      std::min(static_cast<std::uint32_t>(write[0]) % (before.size() + 2), kMaxSlots - 1);
  const speech::VoiceGeneration generation =
      write[5] % 2 == 0 ? speech::VoiceGeneration::Sapi5 : speech::VoiceGeneration::Sapi4;
  const voice_slots::SlotValues values{
      voice, static_cast<std::uint16_t>(write[1]), write[2], write[3], write[4], generation};
  const SlotRecord written{IniReadBack(voice),   ToText(values.speed),
                           ToText(values.pitch), ToText(values.volume),
                           values.generation,    voice_slots::NormalizedHotKey(values.hotKey)};
  slots.Write(static_cast<int>(n), values);
  const std::vector<SlotRecord> after = LoadChecked(slots);
  Check(slots.Exists(static_cast<int>(n)), "the written slot exists");
  if (n > before.size()) {
    Check(after == before, "a slot beyond a gap is not loaded");
  } else {
    Check(after.size() >= std::max(before.size(), n + 1), "no slot is lost by a write");
    Check(after[n] == written, "the written slot reads back", after[n].voice, written.voice);
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (i != n) Check(after[i] == before[i], "every other slot stays");
    }
  }

  // The list deletes a row, renumbering the slots after it.
  if (after.empty()) return 0;
  const std::size_t row = static_cast<std::uint32_t>(deleted) % after.size();
  slots.Delete(static_cast<int>(row), static_cast<int>(after.size()));
  std::vector<SlotRecord> expected = after;
  expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(row));
  std::vector<SlotRecord> remaining = LoadChecked(slots);
  // With all 256 loaded, a 257th section, never loaded so far, moves up into the last place.
  // (No seed has 257 sections: each read of the file reads it whole, so one such input takes
  // seconds. The limit has its unit test.)
  if (after.size() == kMaxSlots && remaining.size() == kMaxSlots) remaining.pop_back();
  Check(remaining == expected, "a deleted row leaves the others in order");
  return 0;
}
