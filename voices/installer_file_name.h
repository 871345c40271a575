#pragma once
// The name under which a package's installer is saved in the downloads folder.
#include <optional>

#include "platform/text.h"

namespace parlino::voices {

// The part of the address after its last "/", without a query or a fragment and with its
// percent-escapes decoded. Nothing when that is no plain file name in one folder: empty, "." or
// "..", or holding "/", "\", a NUL or a drive letter, which would save the file elsewhere or
// nowhere; nothing too for an address without any "/".
std::optional<Text> InstallerFileName(TextView address);

}  // namespace parlino::voices
