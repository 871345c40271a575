#pragma once
// The rules of the slot list and the slot editor that need no window: their texts, the checks a
// slot passes before it is saved, and the slider positions an opening or a voice change gives.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/text.h"
#include "slots/slot_file.h"

namespace parlino::voice_slots {

inline constexpr TextView kAddCaption = u"Add voice slot";
inline constexpr TextView kEditCaption = u"Edit voice slot";
inline constexpr TextView kAddAction = u"Add slot";
inline constexpr TextView kEditAction = u"Save changes";

inline constexpr TextView kSelectSlotToChange = u"Please, select voice slot to change.";
inline constexpr TextView kSpecifyHotKey = u"Please, specify hot key for this slot.";
inline constexpr TextView kHotKeyTaken =
    u"Sorry, but this hot key is already set for other slot! Please, enter some different one.";
inline constexpr TextView kSelectVoice = u"Please, select voice for this slot.";
inline constexpr TextView kTooManySlots = u"No more than 256 voice slots can be set.";
inline constexpr TextView kDeleteSelected = u"Are you sure to delete selected slots?";
inline constexpr TextView kClearAll = u"Are you sure to delete all voice slots?";
inline constexpr TextView kCannotClear = u"Can't delete voice slots.";
inline constexpr TextView kUsedElsewhere = u"Used by another program";

inline constexpr TextView kTestFallback = u"This is a test for selected voice.";

// "Are you sure to delete slot 3?" for row 2: the user counts from 1.
Text DeleteSlotQuestion(int row);

// A slot about to be saved.
struct SlotInput {
  std::uint16_t hotKey = 0;
  bool adding = true;
  // The codes of the reading, options and pause hot keys, and of the listed slots.
  std::vector<std::uint16_t> programHotKeys;
  std::vector<std::uint16_t> slotHotKeys;
  bool voiceSelected = false;
};

// The warning that stops the save, or nothing when the slot may be saved. Only a new slot is
// checked against the hot keys in use; an edited one may share another slot's.
std::optional<TextView> SaveRefusal(const SlotInput& input);

// The three slider positions of a slot.
struct Positions {
  std::int32_t speed = 0;
  std::int32_t pitch = 0;
  std::int32_t volume = 0;
};

// A new modern-voice slot: read-outs 150, 105 and 100.
inline constexpr Positions kNewSapi5Slot{-2, -5, 100};

// A modern-voice slot's stored texts as slider steps: round(stored / 15) - 12 for speed and
// pitch, the volume as it is. Throws std::invalid_argument for a text that is not a number.
Positions Sapi5Positions(const SlotRecord& slot);
// A legacy slot's stored texts as they are, in the engine's units. Throws as above.
Positions Sapi4Positions(const SlotRecord& slot);

// The test phrase: the test text without the blanks around it, or the fallback when that is
// empty.
Text SlotTestText(TextView typed);
// The modern voice's test: the pitch markup for the step, the text, and the closing element.
Text SlotTestMarkup(std::int32_t pitchStep, TextView text);

}  // namespace parlino::voice_slots
