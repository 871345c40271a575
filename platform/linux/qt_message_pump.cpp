#include "platform/linux/qt_message_pump.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <thread>

namespace parlino::platform::linux_impl {

std::chrono::milliseconds SystemClock::Now() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::Sleep(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

void QtMessagePump::ProcessPendingMessages() {
  QCoreApplication::processEvents();
}

void QtMessagePump::Post(std::function<void()> task) {
  // A queued call to the application object runs on the thread that owns it: the UI thread.
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

}  // namespace parlino::platform::linux_impl
