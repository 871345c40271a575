#pragma once
#include <string>

#include "platform/code_page.h"
#include "platform/text.h"

namespace parlino::speech {

// Wide text and one 0 character in the system's ANSI code page: the form in which text reaches
// the legacy engines. The last byte of the result is 0; characters the page cannot hold become
// its default character.
std::string ToAnsiText(const platform::CodePage& codePage, TextView text);

}  // namespace parlino::speech
