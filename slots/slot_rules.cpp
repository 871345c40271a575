#include "slots/slot_rules.h"

#include <algorithm>

#include "speech/catalogue/value_scales.h"

namespace parlino::voice_slots {

Text DeleteSlotQuestion(int row) {
  return u"Are you sure to delete slot " + ToText(row + 1) + u"?";
}

std::optional<TextView> SaveRefusal(const SlotInput& input) {
  if (input.hotKey == 0) return kSpecifyHotKey;
  // Codes, not their texts: Ctrl+1 and Ctrl+Num 1 read alike but are different keys.
  const auto taken = [&](const std::vector<std::uint16_t>& codes) {
    return std::ranges::find(codes, input.hotKey) != codes.end();
  };
  if (input.adding && (taken(input.programHotKeys) || taken(input.slotHotKeys))) {
    return kHotKeyTaken;
  }
  if (!input.voiceSelected) return kSelectVoice;
  return std::nullopt;
}

Positions Sapi5Positions(const SlotRecord& slot) {
  return {speech::Sapi5Position(RequireInteger(slot.speed)),
          speech::Sapi5Position(RequireInteger(slot.pitch)), RequireInteger(slot.volume)};
}

Positions Sapi4Positions(const SlotRecord& slot) {
  return {RequireInteger(slot.speed), RequireInteger(slot.pitch), RequireInteger(slot.volume)};
}

Text SlotTestText(TextView typed) {
  Text text = Trim(typed);
  return text.empty() ? Text(kTestFallback) : text;
}

Text SlotTestMarkup(std::int32_t pitchStep, TextView text) {
  return speech::PitchPrefix(pitchStep) + Text(text) + u"</pitch>";
}

}  // namespace parlino::voice_slots
