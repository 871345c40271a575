#pragma once
// X display connections: whether the display answers, and connections of the program's own.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Xlib's Display, declared by its own name so that this header needs no Xlib: its macros (Bool,
// Status, None) break Qt's headers.
struct _XDisplay;

namespace parlino::platform::linux_impl {

struct X11DisplayCloser {
  void operator()(_XDisplay* display) const;
};

// A display connection that closes when it goes; empty when the display does not answer.
using X11Connection = std::unique_ptr<_XDisplay, X11DisplayCloser>;

// A new connection to the display that DISPLAY names.
X11Connection OpenX11Display();

// The desktop is a Wayland session (WAYLAND_DISPLAY is set, or XDG_SESSION_TYPE says so): the
// program runs through XWayland there, whose X11 services reach X11 windows only.
bool WaylandSession();

// Why the program cannot use the X display it would open, in the user's words, or nothing when
// the display answers. Asked before the toolkit starts, which would otherwise abort.
std::optional<std::string> X11DisplayProblem();

// What works in a Wayland session and what does not, said once at start. `display` is the X
// display in use, `toolkitPlatform` the one Qt runs on.
std::string WaylandSessionNote(std::string_view display, std::string_view toolkitPlatform);

}  // namespace parlino::platform::linux_impl
