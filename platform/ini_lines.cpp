#include "platform/ini_lines.h"

namespace parlino::platform {
namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\v';
}

}  // namespace

TextView TrimIniBlanks(TextView text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<TextView> IniSectionName(TextView line) {
  line = TrimIniBlanks(line);
  if (line.empty() || line.front() != u'[') return std::nullopt;
  line.remove_prefix(1);
  return TrimIniBlanks(line.substr(0, line.find(u']')));
}

}  // namespace parlino::platform
