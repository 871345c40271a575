#include "platform/linux/qt_message_boxes.h"

#include <QMessageBox>
#include <QString>

#include "platform/qt/qt_text.h"

namespace parlino::platform::linux_impl {
namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Information:
      return QMessageBox::Information;
    case BoxKind::Warning:
      return QMessageBox::Warning;
    case BoxKind::Confirmation:
      return QMessageBox::Question;
    case BoxKind::Error:
      return QMessageBox::Critical;
    case BoxKind::Plain:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case BoxButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case BoxButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

}  // namespace

BoxAnswer QtMessageBoxes::Show(BoxKind kind, TextView title, TextView text, BoxButtons buttons) {
  QMessageBox box(IconOf(kind), ToQString(title), ToQString(text), ButtonsOf(buttons));
  switch (box.exec()) {
    case QMessageBox::Cancel:
      return BoxAnswer::Cancel;
    case QMessageBox::Yes:
      return BoxAnswer::Yes;
    case QMessageBox::No:
      return BoxAnswer::No;
    default:
      // Closing a box that offers no Cancel counts as its only answer.
      return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
  }
}

}  // namespace parlino::platform::linux_impl
