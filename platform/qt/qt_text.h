#pragma once
// The one conversion between the program's UTF-16 text and Qt's strings (both UTF-16: no
// recoding), for the code built on Qt: the windows and the Linux services that use Qt. The
// service interfaces themselves stay free of Qt.
#include <QString>

#include "platform/text.h"

namespace parlino {

inline QString ToQString(TextView text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline Text FromQString(const QString& text) {
  return Text(reinterpret_cast<const char16_t*>(text.utf16()),
              static_cast<std::size_t>(text.size()));
}

}  // namespace parlino
