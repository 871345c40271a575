#pragma once
// One conversion of a selection into one target, as ICCCM describes it: ConvertSelection to a
// window of the transfer's own, then the data from its property, in pieces when the owner
// sends it INCR. A window of its own means that a late answer to an abandoned transfer can
// never be mistaken for the answer to a later one.
#include <optional>
#include <string>

#include "platform/linux/x11_selection_connection.h"

namespace parlino::platform::linux_impl {

// Data as an owner sent it: the bytes, the type the owner gave them and their item size.
// 16- and 32-bit items are kept packed, 2 and 4 bytes each.
struct SelectionData {
  std::string bytes;
  ::Atom type = None;
  int itemBits = 8;
};

class SelectionTransfer {
 public:
  // Sends the request; the answer comes through Take.
  SelectionTransfer(SelectionConnection& connection, ::Atom selection, ::Atom target, ::Time time);
  ~SelectionTransfer();
  SelectionTransfer(const SelectionTransfer&) = delete;
  SelectionTransfer& operator=(const SelectionTransfer&) = delete;

  // Handles `event` when it belongs to this transfer; false otherwise.
  bool Take(const XEvent& event);
  // The owner answered: with the data, or with a refusal (no result).
  bool Finished() const { return finished_; }
  const std::optional<SelectionData>& Result() const { return result_; }

 private:
  // Reads and deletes the property; the deletion also asks an INCR owner for the next piece.
  std::optional<SelectionData> ReadProperty();
  void Finish(std::optional<SelectionData> result);

  SelectionConnection& connection_;
  ::Window window_;
  ::Atom selection_;
  ::Atom target_;
  ::Atom property_;
  ::Atom incr_;
  bool answered_ = false;  // the SelectionNotify came
  bool incremental_ = false;
  bool finished_ = false;
  std::optional<SelectionData> result_;
};

}  // namespace parlino::platform::linux_impl
