#include "speech/sapi4/ansi_text.h"

namespace parlino::speech {

std::string ToAnsiText(const platform::CodePage& codePage, TextView text) {
  parlino::Text source(text);
  source.push_back(u'\0');
  return codePage.FromWide(source);
}

}  // namespace parlino::speech
