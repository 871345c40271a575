// A second program for the Windows tests, started by them:
//   parlino_win32_probe instance        exit code 1 when another copy of Parlino runs, else 0
//   parlino_win32_probe hand <n>...     hands the requests numbered <n> to the running copy;
//                                       exit code 1 when one runs, else 0
//   parlino_win32_probe touch <file>    writes its command line to <file> (a shell "open" verb)
//   parlino_win32_probe edit <text>     the application in front: an edit control holding <text>,
//                                       all of it selected, with the keyboard focus; it sets the
//                                       event "ParlinoProbeReady" once it is in front, then runs
//                                       until it is ended
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_single_instance.h"

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"instance") {
    parlino::platform::win32_impl::Win32SingleInstance instance;
    return instance.AnotherCopyRuns() ? 1 : 0;
  }
  if (command == L"hand") {
    std::vector<parlino::platform::InstanceRequest> requests;
    for (int i = 2; i < argc; ++i) {
      requests.push_back(static_cast<parlino::platform::InstanceRequest>(_wtoi(argv[i])));
    }
    parlino::platform::win32_impl::Win32SingleInstance instance;
    return instance.HandOver(requests) ? 1 : 0;
  }
  if (command == L"touch" && argc > 2) {
    FILE* file = _wfopen(argv[2], L"wb");
    if (file == nullptr) return 3;
    const std::wstring line = GetCommandLineW();
    std::fwrite(line.data(), sizeof(wchar_t), line.size(), file);
    std::fclose(file);
    return 0;
  }
  if (command == L"edit" && argc > 2) {
    const HWND frame =
        CreateWindowExW(0, L"STATIC", L"Probe editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                        400, 100, nullptr, nullptr, nullptr, nullptr);
    const HWND edit = CreateWindowExW(0, L"EDIT", argv[2], WS_CHILD | WS_VISIBLE, 0, 0, 380, 30,
                                      frame, nullptr, nullptr, nullptr);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SetForegroundWindow(frame);
    SetFocus(edit);
    const HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"ParlinoProbeReady");
    MSG message;
    bool signalled = false;
    for (;;) {
      if (!signalled && GetForegroundWindow() == frame && GetFocus() == edit) {
        SetEvent(ready);
        signalled = true;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  std::fprintf(stderr,
               "usage: parlino_win32_probe instance | hand <n>... | touch <file> | edit <text>\n");
  return 2;
}
