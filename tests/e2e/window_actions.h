#pragma once
// What an end-to-end test does through the X server as a user would: keys, typing, and the
// program's windows found by their titles. There is no window manager, so the test hands the
// focus over itself.
#include <QRect>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <string>

namespace parlino::testing {

// Presses a key combination in xdotool's notation, with no modifier the user holds.
void Press(const QString& keys);
void Type(const QString& text);
void Focus(const QString& window);

// The visible top-level windows titled exactly `title`.
QStringList Windows(const QString& title);
// Waits for a visible window titled `title` that is not one of `known` and gives it the focus;
// empty when none came.
QString NewWindow(const QString& title, const QStringList& known = {});
QRect Geometry(const QString& window);
// The window as the screen shows it, saved beside the test under `name`.png; returns the file.
std::filesystem::path Screenshot(const QString& window, const std::string& name);

}  // namespace parlino::testing
