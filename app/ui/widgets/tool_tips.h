#pragma once
// Tool tips of the whole program stay up for the same time, however long their text: Qt's own
// time grows with the text and cannot be set once for every control.
#include <QEvent>
#include <QObject>

namespace parlino::app {

inline constexpr int kToolTipMilliseconds = 7500;

// For an application-wide event filter: shows the tool tip a QEvent::ToolTip asks for, a
// control's own or an item view's item's, for kToolTipMilliseconds. Returns whether it did;
// other events and places without a tip are left to Qt.
bool ShowToolTip(QObject* watched, QEvent* event);

}  // namespace parlino::app
