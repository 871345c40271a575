#include "platform/linux/desktop_shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "platform/qt/qt_text.h"

namespace parlino::platform::linux_impl {

bool DesktopShell::Open(TextView target) {
  return QDesktopServices::openUrl(
      QUrl::fromUserInput(ToQString(target), QDir::currentPath(), QUrl::AssumeLocalFile));
}

// The folder opens in the file manager; the desktop offers no common way to point at the file.
bool DesktopShell::ShowInFolder(TextView file) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(ToQString(file)).absolutePath()));
}

}  // namespace parlino::platform::linux_impl
