#pragma once
// Helpers of the tests that run against a real X server (under tests/run-under-xvfb).
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

namespace parlino::testing {

// Runs the Qt event loop until `done` holds or `timeout` passes; returns whether it holds.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs the Qt event loop for `duration`, so that late events would still arrive.
void Settle(std::chrono::milliseconds duration);

// Runs a program to its end while the event loop keeps running (the program may ask this
// process for the clipboard). Returns its standard output; fails the test if it fails.
QByteArray RunTool(const QString& program, const QStringList& arguments,
                   const QByteArray& input = {});

// Makes xclip own the clipboard with `data` in the one format `mimeType`.
void PutOnClipboardWithXclip(const QString& mimeType, const QByteArray& data);

// The clipboard's formats and data as another client sees them.
QStringList ClipboardTargets();
QByteArray ClipboardData(const QString& mimeType);

// The application in front: copy_target, a window of another process with all of its text
// selected and the focus. With a delay it copies that many milliseconds late.
class CopyTarget {
 public:
  CopyTarget(const QString& control, const QString& text, int copyDelay = 0);
  ~CopyTarget();
  CopyTarget(const CopyTarget&) = delete;
  CopyTarget& operator=(const CopyTarget&) = delete;

  bool Ready() const { return ready_; }

 private:
  QProcess process_;
  bool ready_ = false;
};

// A small PNG picture, as a user's clipboard might hold one.
QByteArray PngImage();

}  // namespace parlino::testing
