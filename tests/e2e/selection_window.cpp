// A small window for end-to-end tests: it shows the text given on its command line, selects all
// of it and keeps the keyboard focus, like a user's document with a selection.
#include <QApplication>
#include <QPlainTextEdit>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QPlainTextEdit editor;
  editor.setWindowTitle("Selection window");
  editor.setPlainText(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("Hello world."));
  editor.selectAll();
  editor.resize(400, 200);
  editor.show();
  editor.activateWindow();
  editor.setFocus();
  return QApplication::exec();
}
