#include "platform/linux/x11_single_instance.h"

// Qt before X11, whose macros (Bool, Status, None) would break Qt's headers.
#include <QMetaObject>
#include <QSocketNotifier>

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

Window FindMarker(Display* display) {
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
    return None;
  }
  Window found = None;
  for (unsigned int i = 0; i < count && found == None; ++i) {
    if (HasClass(display, children[i]) && HasTitle(display, children[i])) found = children[i];
  }
  if (children != nullptr) XFree(children);
  return found;
}

Window CreateMarker(Display* display) {
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  XStoreName(display, window, kInstanceWindowTitle);
  std::string name = "parlino";
  std::string windowClass = kInstanceWindowClass;
  XClassHint hint{name.data(), windowClass.data()};
  XSetClassHint(display, window, &hint);
  return window;
}

// With no event mask, the server delivers the message to the client that made the window: the
// running copy's own connection, and nobody else.
void SendRequest(Display* display, Window marker, Atom type, InstanceRequest request) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = marker;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(request);
  XSendEvent(display, marker, False, NoEventMask, &event);
}

bool IsKnownRequest(long number) {
  return number == static_cast<long>(InstanceRequest::Read) ||
         number == static_cast<long>(InstanceRequest::Pause) ||
         number == static_cast<long>(InstanceRequest::Options);
}

}  // namespace

X11SingleInstance::X11SingleInstance() = default;

X11SingleInstance::~X11SingleInstance() = default;

bool X11SingleInstance::HandOver(const std::vector<InstanceRequest>& requests) {
  if (!display_) display_ = OpenX11Display();
  Display* display = display_.get();
  if (display == nullptr) return false;  // no X display: nothing to coordinate with
  if (marker_ != None) return false;     // the marker is this copy's own
  requestType_ = XInternAtom(display, kInstanceRequestType, False);
  // Looking, and marking or handing over, under one server grab: two copies started together
  // cannot both win, and the marker found cannot go away before the requests reach it.
  XGrabServer(display);
  const Window found = FindMarker(display);
  if (found == None) {
    marker_ = CreateMarker(display);
  } else {
    for (const InstanceRequest request : requests) {
      SendRequest(display, found, requestType_, request);
    }
  }
  XUngrabServer(display);
  XSync(display, False);
  return found != None;
}

void X11SingleInstance::ReceiveRequests(std::function<void(InstanceRequest)> handler) {
  handler_ = std::move(handler);
  if (!display_ || marker_ == None || notifier_) return;
  notifier_ =
      std::make_unique<QSocketNotifier>(ConnectionNumber(display_.get()), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { ReadEvents(); });
  // Requests that came earlier wait in the connection, or in Xlib's queue where a round trip
  // has read them and the notifier does not see them.
  QMetaObject::invokeMethod(
      notifier_.get(), [this] { ReadEvents(); }, Qt::QueuedConnection);
}

void X11SingleInstance::ReadEvents() {
  Display* display = display_.get();
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != ClientMessage) continue;
    const XClientMessageEvent& message = event.xclient;
    if (message.window != marker_ || message.message_type != requestType_ || message.format != 32 ||
        !IsKnownRequest(message.data.l[0])) {
      continue;
    }
    waiting_.push_back(static_cast<InstanceRequest>(message.data.l[0]));
  }
  // A handler that runs the event loop (a reading waits for the copy) may bring this back:
  // the requests it reads then wait for the one under way to finish.
  if (handling_) return;
  handling_ = true;
  struct Done {
    bool& handling;
    ~Done() { handling = false; }
  } done{handling_};
  while (!waiting_.empty()) {
    const InstanceRequest request = waiting_.front();
    waiting_.pop_front();
    if (handler_) handler_(request);
  }
}

}  // namespace parlino::platform::linux_impl
