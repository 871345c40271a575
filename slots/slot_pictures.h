#pragma once
// The small pictures of the slot list's buttons and of the slot editor's window.
#include <QIcon>

namespace parlino::voice_slots {

enum class SlotPicture { Add, Edit, Delete, ClearAll };

QIcon SlotIcon(SlotPicture picture);

}  // namespace parlino::voice_slots
