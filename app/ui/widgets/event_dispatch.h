#pragma once
// How the windows run their event handlers: an error that escapes a handler is shown in an error
// box with its text, and the program goes on.
#include <exception>

#include "platform/message_boxes.h"
#include "platform/text.h"

namespace parlino::app {

template <typename Handler>
void DispatchEvent(platform::MessageBoxes& boxes, Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    boxes.Show(platform::BoxKind::Error, u"Parlino!", FromUtf8(error.what()),
               platform::BoxButtons::Ok);
  }
}

}  // namespace parlino::app
