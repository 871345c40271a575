#pragma once
// The compiled help viewer: topics of a help file shown in the system's help window.
#include <filesystem>

#include "platform/text.h"

namespace parlino::platform {

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // Shows `topic` (such as u"/tutorial.htm") of `helpFile`. Throws PlatformError when the viewer
  // is missing or cannot show it.
  virtual void ShowTopic(const std::filesystem::path& helpFile, TextView topic) = 0;
  // Closes every help window this program opened; does nothing when none is open.
  virtual void CloseAll() = 0;
};

}  // namespace parlino::platform
