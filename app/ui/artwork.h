#pragma once
#include <QIcon>

namespace parlino::app {

// The program's icon: a speech bubble with sound waves, drawn at every size it is asked for.
QIcon ProgramIcon();

}  // namespace parlino::app
