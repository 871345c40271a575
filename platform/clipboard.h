#pragma once
// The system clipboard, borrowed by the capture of the selected text.
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace parlino::platform {

// One format the clipboard holds, as its owner offered it: the format's name (a MIME type or
// the system's own name, such as UTF8_STRING on X11) and the bytes its owner gives for it.
// `type` and `itemBits` keep how the owner labelled those bytes where the system has such a
// label (X11 answers the TEXT target in UTF8_STRING, STRING or COMPOUND_TEXT, in items of 8,
// 16 or 32 bits; 32-bit items are kept as 4 bytes each); empty `type` means the name itself.
// A format `listedOnly` has no data of its own: it keeps its place in the owner's list, and
// whoever serves the snapshot answers it itself or refuses it (X11: TARGETS, TIMESTAMP and
// MULTIPLE are answered, targets that make the owner act, such as DELETE, are refused).
struct ClipboardFormat {
  ClipboardFormat() = default;
  ClipboardFormat(std::string name, std::string bytes, std::string dataType = {}, int bits = 8)
      : mimeType(std::move(name)),
        data(std::move(bytes)),
        type(std::move(dataType)),
        itemBits(bits) {}
  static ClipboardFormat ListedOnly(std::string name) {
    ClipboardFormat format(std::move(name), {});
    format.listedOnly = true;
    return format;
  }

  std::string mimeType;
  std::string data;
  std::string type;
  int itemBits = 8;
  bool listedOnly = false;
  bool operator==(const ClipboardFormat&) const = default;
};

// Everything the clipboard held, in every format and in the owner's order; empty when it held
// nothing.
using ClipboardSnapshot = std::vector<ClipboardFormat>;

// Every call runs on the user-interface thread. Calls that wait for another program give up
// after the `limit` they are given, so a program that hangs cannot hold the caller longer.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // A copy of all the clipboard holds now (the data itself, not a view of the owner's). Formats
  // the owner does not hand over within `limit` are left out.
  virtual ClipboardSnapshot Backup(std::chrono::milliseconds limit) = 0;
  // Makes the clipboard hold exactly `snapshot` (nothing at all when it is empty), served by
  // this program from then on. False when the clipboard could not be taken over.
  virtual bool Restore(const ClipboardSnapshot& snapshot) = 0;
  // The clipboard's text, read as Unicode. False, with `text` left as it was, when the clipboard
  // holds no text or its owner does not hand it over within `limit`.
  virtual bool ReadText(Text& text, std::chrono::milliseconds limit) = 0;

  // Evidence that a program put something on the clipboard, so that waiting for a copy ends as
  // soon as it happened (X11: the XFixes selection owner notification; Windows: the clipboard
  // sequence number). WatchOwner starts looking; OwnerChanged tells, without waiting, whether
  // another program took or emptied the clipboard since. Changes this program makes itself
  // through Restore do not count. WatchOwner throws PlatformError when the system cannot tell.
  virtual void WatchOwner() = 0;
  virtual bool OwnerChanged() = 0;
};

}  // namespace parlino::platform
