// A window with selected text for the capture tests: the application in front that receives the
// synthetic Ctrl+C. Usage: copy_target line|text TEXT [DELAY_MS]. Prints "ready" once it has the
// focus. With a delay, Ctrl+C copies that many milliseconds late, as a busy application would.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>

namespace {

class LateCopy : public QObject {
 public:
  explicit LateCopy(int delay) : delay_(delay) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress ||
        !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
      return false;
    }
    QTimer::singleShot(delay_, watched, [watched] { QMetaObject::invokeMethod(watched, "copy"); });
    return true;
  }

 private:
  int delay_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3 && argc != 4) return 2;
  const QString text = QString::fromUtf8(argv[2]);
  QWidget* editor = nullptr;
  if (QString::fromUtf8(argv[1]) == "line") {
    auto* line = new QLineEdit(text);
    line->selectAll();
    editor = line;
  } else {
    auto* edit = new QTextEdit;
    edit->setPlainText(text);
    edit->selectAll();
    editor = edit;
  }
  LateCopy lateCopy(argc == 4 ? QString::fromUtf8(argv[3]).toInt() : 0);
  if (argc == 4) editor->installEventFilter(&lateCopy);
  editor->show();
  editor->activateWindow();
  editor->setFocus();

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!editor->isActiveWindow() || !editor->hasFocus()) {
      editor->activateWindow();
      return;
    }
    poll.stop();
    std::puts("ready");
    std::fflush(stdout);
  });
  poll.start(50);
  const int status = QApplication::exec();
  delete editor;
  return status;
}
