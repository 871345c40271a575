#pragma once
// The clipboard's own display connection: one unmapped window that owns and receives
// selections, atoms by name, and waits for the server's events with a time limit. Every event
// read from the connection goes to one handler, in order. Used by one thread only.
// Xlib's headers are included here: include this header after any Qt header.
#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/linux/x11_display.h"

namespace parlino::platform::linux_impl {

using SteadyClock = std::chrono::steady_clock;

class SelectionConnection {
 public:
  // Without an X display the connection is not usable and does nothing.
  SelectionConnection();
  ~SelectionConnection();
  SelectionConnection(const SelectionConnection&) = delete;
  SelectionConnection& operator=(const SelectionConnection&) = delete;

  bool Usable() const { return display_ != nullptr; }
  Display* display() const { return display_.get(); }
  ::Window window() const { return window_; }
  int FileDescriptor() const { return ConnectionNumber(display_.get()); }

  ::Atom Intern(const std::string& name);
  std::string NameOf(::Atom atom);
  // The names of many atoms in one round trip.
  std::vector<std::string> NamesOf(const std::vector<::Atom>& atoms);

  void SetHandler(std::function<void(XEvent&)> handler) { handler_ = std::move(handler); }

  // Hands every event that has arrived to the handler, without waiting for more.
  void DispatchPending();
  // Dispatches events until `done` holds or `deadline` passes; false at the deadline.
  // `whileWaiting`, when given, runs between looks at the connection, which then come every
  // millisecond: for an owner that answers only when this thread lets it.
  bool WaitUntil(const std::function<bool()>& done, SteadyClock::time_point deadline,
                 const std::function<void()>& whileWaiting = {});
  // The server's time now, as ICCCM wants selection requests and ownership to carry.
  std::optional<::Time> ServerTime(SteadyClock::time_point deadline);

  // The largest property one request may write, for data sent in one piece.
  std::size_t LargestProperty() const;

 private:
  void Dispatch(XEvent& event);

  X11Connection display_;
  ::Window window_ = 0;
  ::Atom timeProperty_ = 0;
  std::optional<::Time> lastTime_;  // from the latest change of timeProperty_
  std::function<void(XEvent&)> handler_;
  std::unordered_map<std::string, ::Atom> atoms_;
  std::unordered_map<::Atom, std::string> names_;
};

}  // namespace parlino::platform::linux_impl
