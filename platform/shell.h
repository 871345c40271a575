#pragma once
#include "platform/text.h"

namespace parlino::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a web address, a file or a folder with the user's preferred program. False when no
  // program could be started for it; what goes wrong in that program is the desktop's to tell.
  virtual bool Open(TextView target) = 0;
  // Shows the file in the file manager, in its folder. False when that could not be started.
  virtual bool ShowInFolder(TextView file) = 0;
};

}  // namespace parlino::platform
