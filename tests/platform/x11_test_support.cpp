#include "tests/platform/x11_test_support.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>

namespace parlino::testing {

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

QByteArray RunTool(const QString& program, const QStringList& arguments, const QByteArray& input) {
  QProcess process;
  process.start(program, arguments);
  if (!input.isEmpty()) process.write(input);
  process.closeWriteChannel();
  const bool finished = WaitFor([&] { return process.state() == QProcess::NotRunning; });
  EXPECT_TRUE(finished) << program.toStdString() << " did not finish";
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0)
      << program.toStdString() << ": " << process.readAllStandardError().toStdString();
  return process.readAllStandardOutput();
}

void PutOnClipboardWithXclip(const QString& mimeType, const QByteArray& data) {
  // xclip stays behind as the owner; its output goes nowhere so that nothing waits for it.
  QProcess xclip;
  xclip.setStandardOutputFile(QProcess::nullDevice());
  xclip.setStandardErrorFile(QProcess::nullDevice());
  xclip.start("xclip", {"-selection", "clipboard", "-t", mimeType, "-i"});
  xclip.write(data);
  xclip.closeWriteChannel();
  ASSERT_TRUE(WaitFor([&] { return xclip.state() == QProcess::NotRunning; }));
  ASSERT_TRUE(WaitFor([&] { return ClipboardTargets().contains(mimeType); }));
}

QStringList ClipboardTargets() {
  QProcess xclip;
  xclip.start("xclip", {"-selection", "clipboard", "-o", "-t", "TARGETS"});
  WaitFor([&] { return xclip.state() == QProcess::NotRunning; });
  return QString::fromUtf8(xclip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

QByteArray ClipboardData(const QString& mimeType) {
  return RunTool("xclip", {"-selection", "clipboard", "-o", "-t", mimeType});
}

ClipboardContents ReadClipboardContents() {
  static const QStringList kNotData = {"TARGETS",        "TIMESTAMP", "MULTIPLE",
                                       "SAVE_TARGETS",   "DELETE",    "INSERT_SELECTION",
                                       "INSERT_PROPERTY"};
  ClipboardContents contents;
  contents.targets = ClipboardTargets();
  for (const QString& target : contents.targets) {
    if (!kNotData.contains(target)) contents.data[target] = ClipboardData(target);
  }
  return contents;
}

std::ostream& operator<<(std::ostream& out, const ClipboardContents& contents) {
  out << "targets [" << contents.targets.join(' ').toStdString() << "]";
  for (const auto& [target, bytes] : contents.data) {
    out << "\n  " << target.toStdString() << ": " << bytes.size() << " bytes "
        << bytes.left(40).toHex(' ').toStdString();
  }
  return out;
}

CopyTarget::CopyTarget(const QString& control, const QString& text, const QStringList& options) {
  process_.start(PARLINO_COPY_TARGET, QStringList{control, text} + options);
  ready_ = WaitFor([&] {
    output_ += process_.readAllStandardOutput();
    return output_.contains("ready\n");
  });
}

CopyTarget::~CopyTarget() {
  process_.kill();  // also ends a stopped process
  process_.waitForFinished();
}

QStringList CopyTarget::ReportedTexts() {
  output_ += process_.readAllStandardOutput();
  QStringList texts;
  for (const QByteArray& line : output_.split('\n')) {
    if (line.startsWith("text: ")) texts << QString::fromUtf8(line.mid(6));
  }
  return texts;
}

ClipboardOwner::ClipboardOwner(const std::vector<std::pair<QString, QByteArray>>& formats) {
  QStringList arguments;
  for (const auto& [type, bytes] : formats) {
    // Bytes go through a file: arguments cannot carry every byte.
    QTemporaryFile file;
    file.setAutoRemove(false);
    if (!file.open()) return;
    file.write(bytes);
    files_ << file.fileName();
    arguments << type << "@" + file.fileName();
  }
  process_.start(PARLINO_CLIPBOARD_OWNER, arguments);
  QByteArray output;
  ready_ = WaitFor([&] {
    output += process_.readAllStandardOutput();
    return output.contains("ready\n");
  });
}

ClipboardOwner::~ClipboardOwner() {
  process_.kill();
  process_.waitForFinished();
  for (const QString& file : files_) QFile::remove(file);
}

bool KeyReleaseWatch::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent*>(event)->key() == key_) {
    released_ = true;
  }
  return false;
}

QByteArray PngImage() {
  QImage image(24, 16, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 10, y * 15, 99));
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return png;
}

}  // namespace parlino::testing

// X11 last, away from the code above: its macros (KeyRelease, None, Bool) clash with Qt's names.
#include <X11/Xlib.h>

namespace parlino::testing {

unsigned long ClipboardOwnerWindow() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    ADD_FAILURE() << "no X display";
    return 0;
  }
  const Window owner = XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False));
  XCloseDisplay(display);
  return owner;
}

}  // namespace parlino::testing
