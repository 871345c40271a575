#pragma once
// The system clipboard, borrowed by the capture of the selected text.
#include <string>
#include <vector>

#include "platform/text.h"

namespace parlino::platform {

// One format the clipboard holds: its MIME type and the bytes its owner gives for it.
struct ClipboardFormat {
  std::string mimeType;
  std::string data;
  bool operator==(const ClipboardFormat&) const = default;
};

// Everything the clipboard held, in every format; empty when it held nothing.
using ClipboardSnapshot = std::vector<ClipboardFormat>;

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // A copy of all the clipboard holds now (the data itself, not a view of the owner's).
  virtual ClipboardSnapshot Backup() = 0;
  // Makes the clipboard hold exactly `snapshot` (nothing at all when it is empty). False when
  // the clipboard could not be taken over.
  virtual bool Restore(const ClipboardSnapshot& snapshot) = 0;
  // The clipboard's text, read as Unicode. False, with `text` left as it was, when the clipboard
  // holds no text.
  virtual bool ReadText(Text& text) = 0;
};

}  // namespace parlino::platform
