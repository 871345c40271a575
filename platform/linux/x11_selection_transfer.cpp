#include "platform/linux/x11_selection_transfer.h"

#include <X11/Xatom.h>

#include <cstdint>
#include <cstring>

namespace parlino::platform::linux_impl {
namespace {

// Xlib hands 32-bit items over as longs and 16-bit ones as shorts, whatever their size on this
// machine; the data is kept as the protocol sends it.
void AppendItems(std::string& bytes, const unsigned char* items, unsigned long count, int bits) {
  if (bits == 32) {
    const auto* longs = reinterpret_cast<const long*>(items);
    for (unsigned long i = 0; i < count; ++i) {
      const auto item = static_cast<std::uint32_t>(longs[i]);
      bytes.append(reinterpret_cast<const char*>(&item), sizeof item);
    }
  } else if (bits == 16) {
    const auto* shorts = reinterpret_cast<const short*>(items);
    for (unsigned long i = 0; i < count; ++i) {
      const auto item = static_cast<std::uint16_t>(shorts[i]);
      bytes.append(reinterpret_cast<const char*>(&item), sizeof item);
    }
  } else {
    bytes.append(reinterpret_cast<const char*>(items), count);
  }
}

// Longer than any property, in the 32-bit units the request counts in.
constexpr long kWholeProperty = 0x1FFFFFFF;

}  // namespace

SelectionTransfer::SelectionTransfer(SelectionConnection& connection, ::Atom selection,
                                     ::Atom target, ::Time time)
    : connection_(connection),
      selection_(selection),
      target_(target),
      property_(connection.Intern("_PARLINO_SELECTION")),
      incr_(connection.Intern("INCR")) {
  Display* display = connection.display();
  XSetWindowAttributes attributes{};
  attributes.event_mask = PropertyChangeMask;
  window_ = XCreateWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, InputOnly,
                          CopyFromParent, CWEventMask, &attributes);
  XConvertSelection(display, selection, target, property_, window_, time);
  XFlush(display);
}

SelectionTransfer::~SelectionTransfer() {
  // An owner still sending pieces to a window that is gone gets an error and gives up.
  XDestroyWindow(connection_.display(), window_);
  XFlush(connection_.display());
}

bool SelectionTransfer::Take(const XEvent& event) {
  if (event.type == SelectionNotify && event.xselection.requestor == window_) {
    if (answered_ || event.xselection.selection != selection_ ||
        event.xselection.target != target_) {
      return true;
    }
    answered_ = true;
    if (event.xselection.property == None) {
      Finish(std::nullopt);  // refused
      return true;
    }
    std::optional<SelectionData> data = ReadProperty();
    if (data && data->type == incr_) {
      // Reading deleted the property: the owner now sends the data piece by piece.
      incremental_ = true;
      result_ = SelectionData{};
      return true;
    }
    Finish(std::move(data));
    return true;
  }
  if (event.type == PropertyNotify && event.xproperty.window == window_) {
    if (!incremental_ || finished_ || event.xproperty.atom != property_ ||
        event.xproperty.state != PropertyNewValue) {
      return true;
    }
    std::optional<SelectionData> piece = ReadProperty();
    if (!piece) {
      Finish(std::nullopt);
    } else if (piece->bytes.empty()) {
      Finish(std::move(result_));  // an empty piece ends the transfer
    } else {
      result_->bytes += piece->bytes;
      result_->type = piece->type;
      result_->itemBits = piece->itemBits;
    }
    return true;
  }
  return false;
}

std::optional<SelectionData> SelectionTransfer::ReadProperty() {
  SelectionData data;
  long offset = 0;  // in 32-bit units, as the request counts
  for (;;) {
    ::Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long bytesAfter = 0;
    unsigned char* items = nullptr;
    const int status =
        XGetWindowProperty(connection_.display(), window_, property_, offset, kWholeProperty, False,
                           AnyPropertyType, &type, &format, &count, &bytesAfter, &items);
    if (status != Success || type == None) {
      if (items != nullptr) XFree(items);
      return std::nullopt;
    }
    data.type = type;
    data.itemBits = format;
    AppendItems(data.bytes, items, count, format);
    XFree(items);
    if (bytesAfter == 0) break;
    offset += static_cast<long>(count * static_cast<unsigned long>(format) / 32);
  }
  XDeleteProperty(connection_.display(), window_, property_);
  XFlush(connection_.display());
  return data;
}

void SelectionTransfer::Finish(std::optional<SelectionData> result) {
  finished_ = true;
  result_ = std::move(result);
}

}  // namespace parlino::platform::linux_impl
