// The capture of the selected text on the Windows services, under Wine: another program's edit
// control is in front with its text selected, and the user's clipboard holds text of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_focus_copy.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_message_pump.h"
#include "reading/selected_text.h"
#include "tests/win32/win32_test_support.h"

namespace parlino {
namespace {

using namespace platform::win32_impl;

void PutText(const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(memory), text.c_str(), size);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

std::wstring ClipboardText() {
  std::wstring text = L"<none>";
  if (!OpenClipboard(nullptr)) return L"<busy>";
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

class WindowsCapture : public ::testing::Test {
 protected:
  Win32Clipboard clipboard;
  Win32FocusCopy focusCopy;
  Win32Input input;
  Win32Clock clock;
  Win32MessagePump pump;
  reading::SelectedTextCapture capture{{clipboard, focusCopy, input, clock, pump},
                                       [](TextView raw) { return Text(raw); }};
};

TEST_F(WindowsCapture, ReadsTheSelectionInFrontAndGivesTheClipboardBack) {
  PutText(L"the user's own text");
  testing::RunningProbe editor(L"edit \"selected \u0416 text\"");
  const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"ParlinoProbeReady");
  ASSERT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);
  CloseHandle(ready);

  EXPECT_EQ(capture.GetSelectedText(), u"selected \u0416 text");
  EXPECT_EQ(ClipboardText(), L"the user's own text");
}

}  // namespace
}  // namespace parlino
