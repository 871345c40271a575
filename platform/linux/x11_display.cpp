#include "platform/linux/x11_display.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace parlino::platform::linux_impl {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool WaylandSession() {
  const char* type = std::getenv("XDG_SESSION_TYPE");
  return IsSet("WAYLAND_DISPLAY") || (type != nullptr && std::string_view(type) == "wayland");
}

void X11DisplayCloser::operator()(_XDisplay* display) const {
  XCloseDisplay(display);
}

X11Connection OpenX11Display() {
  return X11Connection(XOpenDisplay(nullptr));
}

std::optional<std::string> X11DisplayProblem() {
  const bool wayland = WaylandSession();
  const char* needs = wayland
                          ? " Parlino runs through XWayland, the X server of Wayland desktops: "
                            "install it (Debian: the xwayland package) or switch it on in the "
                            "desktop's settings, then log in again."
                          : " Parlino needs X11; on a Wayland desktop it runs through XWayland.";
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') {
    return std::string(wayland ? "This Wayland session offers no X display (DISPLAY is not set)."
                               : "No X display found (DISPLAY is not set).") +
           needs;
  }
  if (!OpenX11Display()) {
    return std::string("The X display \"") + name + "\" does not answer." + needs;
  }
  return std::nullopt;
}

std::string WaylandSessionNote(std::string_view display, std::string_view toolkitPlatform) {
  return "Wayland session: Parlino runs through XWayland (X display " + std::string(display) +
         ", Qt platform " + std::string(toolkitPlatform) +
         "). Its hot keys and the middle button work only while an X11 window has the focus, "
         "and its copy of the selection reaches X11 windows only. To read from any window, bind "
         "\"parlino -read\" to a key in the desktop's keyboard settings: it reads the "
         "highlighted text and leaves the clipboard alone.";
}

}  // namespace parlino::platform::linux_impl
