#pragma once
// Helpers of the tests that run against a real X server (under tests/run-under-xvfb).
#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <map>
#include <ostream>
#include <utility>
#include <vector>

namespace parlino::testing {

// Runs the Qt event loop until `done` holds or `timeout` passes; returns whether it holds.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Runs a program to its end while the event loop keeps running (the program may ask this
// process for the clipboard). Returns its standard output; fails the test if it fails.
QByteArray RunTool(const QString& program, const QStringList& arguments,
                   const QByteArray& input = {});

// Makes xclip own the clipboard with `data` in the one format `mimeType`.
void PutOnClipboardWithXclip(const QString& mimeType, const QByteArray& data);

// The window that owns the clipboard now (0 for none): a program that takes the clipboard, even
// to put back what it held, changes it.
unsigned long ClipboardOwnerWindow();

// The clipboard's formats and data as another client sees them.
QStringList ClipboardTargets();
QByteArray ClipboardData(const QString& mimeType);

// Everything another client can read from the clipboard: its targets in order, and the bytes of
// each one that carries data (not TARGETS, TIMESTAMP, MULTIPLE or the targets that act).
struct ClipboardContents {
  QStringList targets;
  std::map<QString, QByteArray> data;
  bool operator==(const ClipboardContents&) const = default;
};
ClipboardContents ReadClipboardContents();
std::ostream& operator<<(std::ostream& out, const ClipboardContents& contents);

// The application in front: copy_target, a window of another process with all of its text
// selected and the focus. `options` are copy_target's (see there): a late copy, an end after
// the copy, reports of changes to its text.
class CopyTarget {
 public:
  CopyTarget(const QString& control, const QString& text, const QStringList& options = {});
  ~CopyTarget();
  CopyTarget(const CopyTarget&) = delete;
  CopyTarget& operator=(const CopyTarget&) = delete;

  bool Ready() const { return ready_; }
  // The texts the control reported so far, in order (with --report-changes).
  QStringList ReportedTexts();

 private:
  QProcess process_;
  QByteArray output_;
  bool ready_ = false;
};

// Another program that owns the clipboard with `formats` (type, bytes), offered through Qt.
class ClipboardOwner {
 public:
  explicit ClipboardOwner(const std::vector<std::pair<QString, QByteArray>>& formats);
  ~ClipboardOwner();
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;

  bool Ready() const { return ready_; }

 private:
  QProcess process_;
  QStringList files_;
  bool ready_ = false;
};

// Notes when `key` has been released in the widgets it watches (installEventFilter): a
// synthetic press of it has then been handled.
class KeyReleaseWatch final : public QObject {
 public:
  explicit KeyReleaseWatch(int key) : key_(key) {}
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool Released() const { return released_; }

 private:
  int key_;
  bool released_ = false;
};

// A small PNG picture, as a user's clipboard might hold one.
QByteArray PngImage();

}  // namespace parlino::testing
