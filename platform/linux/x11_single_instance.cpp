#include "platform/linux/x11_single_instance.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>
#include <string>

namespace parlino::platform::linux_impl {
namespace {

bool HasClass(Display* display, Window window) {
  XClassHint hint{};
  if (XGetClassHint(display, window, &hint) == 0) return false;
  const bool match =
      hint.res_class != nullptr && std::strcmp(hint.res_class, kInstanceWindowClass) == 0;
  if (hint.res_name != nullptr) XFree(hint.res_name);
  if (hint.res_class != nullptr) XFree(hint.res_class);
  return match;
}

bool HasTitle(Display* display, Window window) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
  const bool match = std::strcmp(name, kInstanceWindowTitle) == 0;
  XFree(name);
  return match;
}

bool MarkerExists(Display* display) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
    return false;
  }
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i) {
    found = HasClass(display, children[i]) && HasTitle(display, children[i]);
  }
  if (children != nullptr) XFree(children);
  return found;
}

void CreateMarker(Display* display) {
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  XStoreName(display, window, kInstanceWindowTitle);
  std::string name = "parlino";
  std::string windowClass = kInstanceWindowClass;
  XClassHint hint{name.data(), windowClass.data()};
  XSetClassHint(display, window, &hint);
}

}  // namespace

X11SingleInstance::~X11SingleInstance() {
  if (display_ != nullptr) XCloseDisplay(static_cast<Display*>(display_));
}

bool X11SingleInstance::AnotherCopyRuns() {
  if (display_ == nullptr) display_ = XOpenDisplay(nullptr);
  auto* display = static_cast<Display*>(display_);
  if (display == nullptr) return false;  // no X display: nothing to coordinate with
  // Looking and marking under one server grab, so two copies started together cannot both win.
  XGrabServer(display);
  const bool exists = MarkerExists(display);
  if (!exists) CreateMarker(display);
  XUngrabServer(display);
  XSync(display, False);
  return exists;
}

}  // namespace parlino::platform::linux_impl
