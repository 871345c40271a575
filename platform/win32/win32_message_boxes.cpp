#include "platform/win32/win32_message_boxes.h"

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

UINT IconOf(BoxKind kind) {
  switch (kind) {
    case BoxKind::Information:
      return MB_ICONINFORMATION;
    case BoxKind::Warning:
      return MB_ICONWARNING;
    case BoxKind::Confirmation:
      return MB_ICONQUESTION;
    case BoxKind::Error:
      return MB_ICONERROR;
    case BoxKind::Plain:
      break;
  }
  return 0;
}

UINT ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::OkCancel:
      return MB_OKCANCEL;
    case BoxButtons::YesNo:
      return MB_YESNO;
    case BoxButtons::YesNoCancel:
      return MB_YESNOCANCEL;
    case BoxButtons::Ok:
      break;
  }
  return MB_OK;
}

}  // namespace

BoxAnswer Win32MessageBoxes::Show(BoxKind kind, TextView title, TextView text, BoxButtons buttons) {
  const int answer = MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(),
                                 IconOf(kind) | ButtonsOf(buttons) | MB_SETFOREGROUND);
  switch (answer) {
    case IDOK:
      return BoxAnswer::Ok;
    case IDYES:
      return BoxAnswer::Yes;
    case IDNO:
      return BoxAnswer::No;
    case IDCANCEL:
      return BoxAnswer::Cancel;
    case 0:
      ThrowWin32Error("Cannot show the message box");
    default:
      break;
  }
  // Any other answer (the system has more buttons than these boxes show) is the box's refusal.
  if (buttons == BoxButtons::Ok) return BoxAnswer::Ok;
  return buttons == BoxButtons::YesNo ? BoxAnswer::No : BoxAnswer::Cancel;
}

}  // namespace parlino::platform::win32_impl
