// A window with selected text for the capture tests: the application in front that receives the
// synthetic Ctrl+C. Usage: copy_target line|text TEXT [OPTION]... Prints "ready" once it has the
// focus. Options:
//   --delay=MS        Ctrl+C copies that many milliseconds late, as a busy application would
//   --then=die        the process ends at once after copying, with the clipboard just taken
//   --then=stop       the process stops itself (SIGSTOP) after copying: an owner that hangs
//   --report-changes  prints "text: " and the control's text whenever the text changes
//   --highlight       publishes the selected text as the primary selection, as the user's
//                     highlighting does, before it says "ready"
#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>
#include <QTimer>
#include <csignal>
#include <cstdio>

namespace {

// Handles Ctrl+C itself: after the delay, copies, then does what the options say.
class Copier : public QObject {
 public:
  Copier(int delay, QString then) : delay_(delay), then_(std::move(then)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress ||
        !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
      return false;
    }
    QTimer::singleShot(delay_, watched, [this, watched] {
      QMetaObject::invokeMethod(watched, "copy");
      // Qt has asked the X server for the clipboard and heard back before copy() returns.
      if (then_ == "die") _exit(0);
      if (then_ == "stop") raise(SIGSTOP);
    });
    return true;
  }

 private:
  int delay_;
  QString then_;
};

void Report(const QString& text) {
  std::printf("text: %s\n", text.toUtf8().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 3) return 2;
  const QString text = QString::fromUtf8(argv[2]);
  int delay = 0;
  QString then;
  bool reportChanges = false;
  bool highlight = false;
  for (int i = 3; i < argc; ++i) {
    const QString option = QString::fromUtf8(argv[i]);
    if (option.startsWith("--delay=")) {
      delay = option.mid(8).toInt();
    } else if (option.startsWith("--then=")) {
      then = option.mid(7);
    } else if (option == "--report-changes") {
      reportChanges = true;
    } else if (option == "--highlight") {
      highlight = true;
    } else {
      return 2;
    }
  }

  QWidget* editor = nullptr;
  if (QString::fromUtf8(argv[1]) == "line") {
    auto* line = new QLineEdit(text);
    line->selectAll();
    if (reportChanges) QObject::connect(line, &QLineEdit::textChanged, &Report);
    editor = line;
  } else {
    auto* edit = new QTextEdit;
    edit->setPlainText(text);
    edit->selectAll();
    if (reportChanges) {
      QObject::connect(edit, &QTextEdit::textChanged, [edit] { Report(edit->toPlainText()); });
    }
    editor = edit;
  }
  Copier copier(delay, then);
  if (delay > 0 || !then.isEmpty()) editor->installEventFilter(&copier);
  editor->show();
  editor->activateWindow();
  editor->setFocus();
  if (highlight) QGuiApplication::clipboard()->setText(text, QClipboard::Selection);

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (highlight && !QGuiApplication::clipboard()->ownsSelection()) return;
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
