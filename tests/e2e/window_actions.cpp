#include "tests/e2e/window_actions.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <chrono>
#include <iostream>

#include "tests/platform/x11_test_support.h"

namespace parlino::testing {

using namespace std::chrono_literals;

void Press(const QString& keys) {
  RunTool("xdotool", {"key", "--clearmodifiers", keys});
}

void Type(const QString& text) {
  RunTool("xdotool", {"type", "--delay", "30", text});
}

// Without a window manager the focus does not follow the windows: the test hands it over.
void Focus(const QString& window) {
  RunTool("xdotool", {"windowfocus", "--sync", window});
}

// The visible top-level windows titled exactly `title`.
QStringList Windows(const QString& title) {
  QProcess search;
  search.start("xdotool", {"search", "--onlyvisible", "--name", "^" + title + "$"});
  WaitFor([&] { return search.state() == QProcess::NotRunning; });
  return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Waits for a visible window titled `title` that is not one of `known` and gives it the focus.
QString NewWindow(const QString& title, const QStringList& known) {
  QString found;
  WaitFor(
      [&] {
        for (const QString& id : Windows(title)) {
          if (!known.contains(id)) found = id;
        }
        return !found.isEmpty();
      },
      20s);
  if (!found.isEmpty()) Focus(found);
  return found;
}

QRect Geometry(const QString& window) {
  QRect rect;
  const QString shell =
      QString::fromUtf8(RunTool("xdotool", {"getwindowgeometry", "--shell", window}));
  for (const QString& line : shell.split('\n', Qt::SkipEmptyParts)) {
    const QStringList pair = line.split('=');
    if (pair.size() != 2) continue;
    if (pair[0] == "X") rect.moveLeft(pair[1].toInt());
    if (pair[0] == "Y") rect.moveTop(pair[1].toInt());
    if (pair[0] == "WIDTH") rect.setWidth(pair[1].toInt());
    if (pair[0] == "HEIGHT") rect.setHeight(pair[1].toInt());
  }
  return rect;
}

std::filesystem::path Screenshot(const QString& window, const std::string& name) {
  const QRect rect = Geometry(window);
  const std::filesystem::path file = std::filesystem::current_path() / (name + ".png");
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, rect.x(), rect.y(),
                                                                    rect.width(), rect.height());
  EXPECT_TRUE(shot.save(QString::fromStdString(file.string()))) << file;
  std::cout << "screenshot: " << file.string() << " (" << rect.width() << "x" << rect.height()
            << ")\n";
  return file;
}

}  // namespace parlino::testing
