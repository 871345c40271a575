#include "platform/linux/x11_connection_loss.h"

#include <unistd.h>

// Qt before X11, whose macros (Bool, Status, None) would break Qt's headers.
#include <QGuiApplication>
#include <QMetaObject>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace parlino::platform::linux_impl {
namespace {

std::function<void()> lostHandler;              // set while an X11ConnectionLoss lives
std::atomic<bool> watchingOtherThreads{false};  // the same, for other threads to read
std::thread::id userInterfaceThread;
XIOErrorHandler previousIoHandler = nullptr;
QtMessageHandler previousMessageHandler = nullptr;
bool ending = false;

[[noreturn]] void EndSession() {
  if (!ending) {
    ending = true;
    lostHandler();
  }
  std::fflush(nullptr);
  _exit(0);
}

bool QtConnectionBroken() {
  auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 != nullptr && x11->connection() != nullptr &&
         xcb_connection_has_error(x11->connection()) != 0;
}

bool Watching() {
  return lostHandler && std::this_thread::get_id() == userInterfaceThread;
}

// Qt warns that its connection broke, then calls exit(1): the warning comes while everything is
// still in place.
void QtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (!ending && Watching() && QtConnectionBroken()) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    EndSession();
  }
  if (previousMessageHandler != nullptr) previousMessageHandler(type, context, message);
}

// Should Qt ever go without the warning, the exit(1) itself. By then the handlers registered
// after this one have run, and with them the destructors of objects made since.
void AtExit() {
  if (!ending && Watching() && QtConnectionBroken()) EndSession();
}

// Xlib's, for the connections the program opens itself. The handler must not return.
int IoError(Display* display) {
  if (Watching()) EndSession();
  if (watchingOtherThreads) {
    // Another thread's connection (the clipboard's) broke first. Ending the process from here
    // would cut the user-interface thread short in the middle of saving: that thread is told,
    // and this one waits for the end it brings.
    QMetaObject::invokeMethod(
        qApp, [] { EndSession(); }, Qt::QueuedConnection);
    for (;;) pause();
  }
  return previousIoHandler != nullptr ? previousIoHandler(display) : 0;
}

}  // namespace

X11ConnectionLoss::X11ConnectionLoss(std::function<void()> lost) {
  static const bool registered = std::atexit(&AtExit) == 0;
  if (!registered) std::fprintf(stderr, "Parlino: cannot watch the end of the X connection\n");
  lostHandler = std::move(lost);
  watchingOtherThreads = true;
  userInterfaceThread = std::this_thread::get_id();
  previousIoHandler = XSetIOErrorHandler(&IoError);
  previousMessageHandler = qInstallMessageHandler(&QtMessage);
}

X11ConnectionLoss::~X11ConnectionLoss() {
  qInstallMessageHandler(previousMessageHandler);
  XSetIOErrorHandler(previousIoHandler);
  watchingOtherThreads = false;
  lostHandler = nullptr;
}

}  // namespace parlino::platform::linux_impl
