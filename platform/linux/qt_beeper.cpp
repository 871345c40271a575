#include "platform/linux/qt_beeper.h"

#include <QApplication>

namespace parlino::platform::linux_impl {

void QtBeeper::WarningBeep() {
  QApplication::beep();  // rings the bell of the display (xcb_bell) and flushes
}

}  // namespace parlino::platform::linux_impl
