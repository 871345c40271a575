#include "platform/linux/qt_clipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

namespace parlino::platform::linux_impl {
namespace {

// Qt learns that another client took the clipboard from an event of the X server. Until that
// event is handled, it offers the previous owner's list of formats, and it claims the clipboard
// with a time the server refuses as too old. Input events stay queued.
void CatchUpWithTheServer() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Names in Qt's list of another owner's formats that are not data of the owner: the targets
// of the X selection protocol itself, and Qt's own marker for "holds an image", which would
// come back as a dozen converted image formats.
bool IsOwnersData(const QString& format) {
  static const QStringList kNotData = {
      "TARGETS",          "MULTIPLE",        "TIMESTAMP",     "SAVE_TARGETS",          "DELETE",
      "INSERT_SELECTION", "INSERT_PROPERTY", "_QT_SELECTION", "application/x-qt-image"};
  return !kNotData.contains(format);
}

// The formats QMimeData::text() reads: UTF-8 text, or the plain text X11 names UTF8_STRING.
bool HoldsText(const QMimeData& data) {
  const QStringList formats = data.formats();
  return formats.contains("text/plain") || formats.contains("text/plain;charset=utf-8");
}

}  // namespace

ClipboardSnapshot QtClipboard::Backup() {
  ClipboardSnapshot snapshot;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (data == nullptr) return snapshot;
  for (const QString& format : data->formats()) {
    if (!IsOwnersData(format)) continue;
    const QByteArray bytes = data->data(format);
    snapshot.push_back({format.toStdString(), bytes.toStdString()});
  }
  return snapshot;
}

bool QtClipboard::Restore(const ClipboardSnapshot& snapshot) {
  CatchUpWithTheServer();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (snapshot.empty()) {
    clipboard->clear(QClipboard::Clipboard);
    const QMimeData* now = clipboard->mimeData(QClipboard::Clipboard);
    return now == nullptr || now->formats().isEmpty();
  }
  auto* data = new QMimeData;
  for (const ClipboardFormat& format : snapshot) {
    data->setData(QString::fromStdString(format.mimeType), QByteArray::fromStdString(format.data));
  }
  clipboard->setMimeData(data, QClipboard::Clipboard);  // the clipboard owns it from here
  // Qt keeps the data even when the X server refused the ownership; only the owner tells.
  return clipboard->mimeData(QClipboard::Clipboard) == data;
}

bool QtClipboard::ReadText(Text& text) {
  CatchUpWithTheServer();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (data == nullptr || !HoldsText(*data)) return false;
  const QString read = data->text();
  text.assign(reinterpret_cast<const char16_t*>(read.utf16()),
              static_cast<std::size_t>(read.size()));
  return true;
}

}  // namespace parlino::platform::linux_impl
