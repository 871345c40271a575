#pragma once
// The primary selection: the text the user highlighted last, which X11 applications, and Wayland
// applications through XWayland, publish as they highlight it, without any copy.
#include <chrono>

#include "platform/text.h"

namespace parlino::platform {

// Called on the user-interface thread.
class PrimarySelection {
 public:
  virtual ~PrimarySelection() = default;
  // The highlighted text, read as Unicode. False, with `text` left as it was, when nothing is
  // highlighted, the text is in no form this program reads, or its owner does not hand it over
  // within `limit`. Throws PlatformError when the system cannot be reached.
  virtual bool ReadPrimaryText(Text& text, std::chrono::milliseconds limit) = 0;
};

}  // namespace parlino::platform
