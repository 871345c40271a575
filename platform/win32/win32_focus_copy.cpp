#include "platform/win32/win32_focus_copy.h"

#include <windows.h>

namespace parlino::platform::win32_impl {

void Win32FocusCopy::CopyFocusedSelection() {
  if (const HWND focus = GetFocus()) SendMessageW(focus, WM_COPY, 0, 0);
}

}  // namespace parlino::platform::win32_impl
