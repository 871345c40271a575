// Saves a picture of one X11 window: grab_window WINDOW_ID FILE.png (under the tests' Xvfb).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: grab_window WINDOW_ID FILE.png\n");
    return 2;
  }
  const WId window = QString(argv[1]).toULongLong(nullptr, 0);
  const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
  if (picture.isNull() || !picture.save(argv[2])) {
    std::fprintf(stderr, "grab_window: cannot save window %s to %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
