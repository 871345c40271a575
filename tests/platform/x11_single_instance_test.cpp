// The single-instance marker and its requests against a real X server. Each copy is an object
// with a display connection of its own, as each process has.
#include "platform/linux/x11_single_instance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/x11_test_support.h"

// X11 last: its macros clash with Qt's and GoogleTest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace parlino::platform::linux_impl {
namespace {

using testing::WaitFor;
using Requests = std::vector<InstanceRequest>;

// Another client that talks to the marker without the program's code.
class OtherClient {
 public:
  OtherClient() : display_(XOpenDisplay(nullptr)) {}
  ~OtherClient() { XCloseDisplay(display_); }
  OtherClient(const OtherClient&) = delete;
  OtherClient& operator=(const OtherClient&) = delete;

  // A window of another program that shares the marker's title but not its class.
  void CreateLookAlike() {
    const Window window =
        XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    XStoreName(display_, window, kInstanceWindowTitle);
    std::string name = "other";
    std::string windowClass = "OtherProgram";
    XClassHint hint{name.data(), windowClass.data()};
    XSetClassHint(display_, window, &hint);
    XSync(display_, False);
  }

  // Sends a client message to every top-level window with the marker's title.
  void SendToMarkers(const char* type, int format, long number) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
      char* name = nullptr;
      if (XFetchName(display_, children[i], &name) == 0 || name == nullptr) continue;
      const bool marker = std::string(name) == kInstanceWindowTitle;
      XFree(name);
      if (!marker) continue;
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = children[i];
      event.xclient.message_type = XInternAtom(display_, type, False);
      event.xclient.format = format;
      event.xclient.data.l[0] = number;
      XSendEvent(display_, children[i], False, NoEventMask, &event);
    }
    if (children != nullptr) XFree(children);
    XSync(display_, False);
  }

 private:
  Display* display_;
};

TEST(X11SingleInstance, LaterCopiesFindTheFirstAndHandItTheirRequestsInOrder) {
  OtherClient other;
  other.CreateLookAlike();  // does not count as a copy of the program
  X11SingleInstance running;
  ASSERT_FALSE(running.HandOver({InstanceRequest::Read}));
  EXPECT_FALSE(running.AnotherCopyRuns()) << "its own marker is no other copy";

  // Handed over before the running copy listens: they wait for it.
  X11SingleInstance second;
  EXPECT_TRUE(second.HandOver({InstanceRequest::Options, InstanceRequest::Read}));
  Requests received;
  running.ReceiveRequests([&](InstanceRequest request) { received.push_back(request); });
  X11SingleInstance third;
  EXPECT_TRUE(third.AnotherCopyRuns());  // hands nothing over
  // What other clients send that is no request is dropped.
  other.SendToMarkers(kInstanceRequestType, 32, 9);
  other.SendToMarkers(kInstanceRequestType, 8, 1);
  other.SendToMarkers("WM_PROTOCOLS", 32, 1);
  X11SingleInstance fourth;
  EXPECT_TRUE(fourth.HandOver({InstanceRequest::Pause}));

  ASSERT_TRUE(WaitFor([&] { return received.size() >= 3; }));
  EXPECT_EQ(received,
            (Requests{InstanceRequest::Options, InstanceRequest::Read, InstanceRequest::Pause}));
}

}  // namespace
}  // namespace parlino::platform::linux_impl
