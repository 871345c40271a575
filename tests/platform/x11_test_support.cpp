#include "tests/platform/x11_test_support.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
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

void Settle(std::chrono::milliseconds duration) {
  WaitFor([] { return false; }, duration);
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

CopyTarget::CopyTarget(const QString& control, const QString& text, int copyDelay) {
  QStringList arguments = {control, text};
  if (copyDelay > 0) arguments << QString::number(copyDelay);
  process_.start(PARLINO_COPY_TARGET, arguments);
  ready_ = WaitFor([&] { return process_.readAllStandardOutput().contains("ready"); });
}

CopyTarget::~CopyTarget() {
  process_.kill();
  process_.waitForFinished();
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
