#pragma once
// The system's ANSI code page: the byte form of text for interfaces that take no wide text.
#include <string>
#include <string_view>

#include "platform/text.h"

namespace parlino::platform {

class CodePage {
 public:
  virtual ~CodePage() = default;
  // Every character becomes its bytes in the page; one the page cannot hold becomes the page's
  // default character. A 0 character stays a 0 byte.
  virtual std::string FromWide(TextView text) const = 0;
  virtual Text ToWide(std::string_view bytes) const = 0;
};

}  // namespace parlino::platform
