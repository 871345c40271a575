#include "platform/linux/qt_focus_copy.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace parlino::platform::linux_impl {

void QtFocusCopy::CopyFocusedSelection() {
  // With another application in front, none of the program's controls has the focus.
  if (QApplication::activeWindow() == nullptr) return;
  QWidget* focused = QApplication::focusWidget();
  if (auto* line = qobject_cast<QLineEdit*>(focused)) {
    line->copy();  // copies nothing from a password field
  } else if (auto* text = qobject_cast<QTextEdit*>(focused)) {
    text->copy();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focused)) {
    plain->copy();
  }
}

}  // namespace parlino::platform::linux_impl
