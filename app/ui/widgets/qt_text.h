#pragma once
// The windows' names for the one Qt text conversion.
#include "platform/qt/qt_text.h"

namespace parlino::app {

using parlino::FromQString;
using parlino::ToQString;

}  // namespace parlino::app
