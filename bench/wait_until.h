#pragma once
// Polls `done` every millisecond until it holds or `timeout` has passed; whether it held.
#include <QElapsedTimer>
#include <QThread>
#include <chrono>
#include <functional>

inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (!done()) {
    if (elapsed.elapsed() > timeout.count()) return false;
    QThread::msleep(1);
  }
  return true;
}
