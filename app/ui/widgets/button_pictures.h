#pragma once
// The small pictures of the list buttons (the corrections list, the slot list) and of their
// editors' windows, drawn at every size asked for.
#include <QIcon>

namespace parlino::app {

enum class ButtonPicture { Add, Edit, Delete, Test, ClearAll };

QIcon ButtonIcon(ButtonPicture picture);

}  // namespace parlino::app
