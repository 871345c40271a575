#pragma once
#include "platform/folders.h"

namespace parlino::platform::win32_impl {

// The folder of the program file and the user's Application Data folder (CSIDL_APPDATA, the
// roaming profile) + "Parlino", which is created with its parents; a failure to create it is
// ignored, as the files in it then simply cannot be written.
Folders DiscoverFolders();

}  // namespace parlino::platform::win32_impl
