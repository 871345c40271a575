#pragma once
// The small pictures of the corrections list's buttons and of its editor's window.
#include <QIcon>

namespace parlino::corrections {

enum class CorrectionPicture { Add, Edit, Delete, Test };

// Drawn at every size it is asked for.
QIcon CorrectionIcon(CorrectionPicture picture);

}  // namespace parlino::corrections
