// Another program's clipboard for the capture tests: takes the clipboard with the given formats
// through Qt, which offers them in the X11 targets it makes of them, and serves them until it is
// killed. Usage: clipboard_owner TYPE VALUE [TYPE VALUE]... where a VALUE of @PATH stands for the
// bytes of that file. Prints "ready" once it owns the clipboard.
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc < 3 || argc % 2 == 0) return 2;
  auto* data = new QMimeData;
  for (int i = 1; i + 1 < argc; i += 2) {
    QByteArray value(argv[i + 1]);
    if (value.startsWith('@')) {
      QFile file(QString::fromUtf8(value.mid(1)));
      if (!file.open(QIODevice::ReadOnly)) return 2;
      value = file.readAll();
    }
    data->setData(QString::fromUtf8(argv[i]), value);
  }
  QGuiApplication::clipboard()->setMimeData(data);  // the clipboard owns it from here
  QTimer::singleShot(0, [] {
    std::puts(QGuiApplication::clipboard()->ownsClipboard() ? "ready" : "refused");
    std::fflush(stdout);
  });
  return QGuiApplication::exec();
}
