#include "platform/linux/desktop_shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace parlino::platform::linux_impl {

void DesktopShell::Open(TextView target) {
  const QString text = QString::fromUtf16(target.data(), static_cast<qsizetype>(target.size()));
  QDesktopServices::openUrl(QUrl::fromUserInput(text, QDir::currentPath(), QUrl::AssumeLocalFile));
}

}  // namespace parlino::platform::linux_impl
