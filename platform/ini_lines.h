#pragma once
// How an INI line reads, as the profile functions read it: the blanks around names and values,
// and the section name of a header line. Whoever edits an INI file by lines reads it this way too,
// so that every header the store sees is found.
#include <optional>

#include "platform/text.h"

namespace parlino::platform {

// Space, tab and vertical tab taken off both ends.
TextView TrimIniBlanks(TextView text);

// The section name of a header line ("[name]", blanks allowed around it and inside the brackets),
// or nothing for any other line. A header without its "]" names everything after the "[".
std::optional<TextView> IniSectionName(TextView line);

}  // namespace parlino::platform
