#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace parlino::testing {

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    // Wakes for any message, or after a little while to look at `done` again.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

bool BringToFront(HWND window, HWND focus) {
  SetForegroundWindow(window);
  SetFocus(focus);
  return PumpUntil([&] { return GetForegroundWindow() == window && GetFocus() == focus; });
}

std::filesystem::path TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

namespace {

DWORD Run(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << std::string(commandLine.begin(), commandLine.end());
    return ~DWORD{0};
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

}  // namespace

ProgramRun RunProgram(const std::wstring& commandLine) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    ADD_FAILURE() << "cannot make a pipe";
    return {~DWORD{0}, {}};
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  std::wstring line = commandLine;
  const bool started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(writeEnd);
  ProgramRun run{~DWORD{0}, {}};
  if (!started) {
    ADD_FAILURE() << "cannot start " << std::string(commandLine.begin(), commandLine.end());
    CloseHandle(readEnd);
    return run;
  }
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    run.errorOutput.append(buffer, read);
  }
  CloseHandle(readEnd);
  WaitForSingleObject(process.hProcess, INFINITE);
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return run;
}

RunningProbe::RunningProbe(const std::wstring& arguments) {
  std::wstring commandLine =
      L"\"" + (TestProgramFolder() / L"parlino_win32_probe.exe").native() + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    ADD_FAILURE() << "cannot start the probe program";
  }
}

RunningProbe::~RunningProbe() {
  if (process_.hProcess == nullptr) return;
  TerminateProcess(process_.hProcess, 0);
  WaitForSingleObject(process_.hProcess, INFINITE);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

DWORD RunProbe(const std::wstring& arguments) {
  return Run(L"\"" + (TestProgramFolder() / L"parlino_win32_probe.exe").native() + L"\" " +
             arguments);
}

void PhysicalKey(const std::string& keysym, bool down) {
  Run(L"Z:\\usr\\bin\\xdotool " + std::wstring(down ? L"keydown " : L"keyup ") +
      std::wstring(keysym.begin(), keysym.end()));
}

}  // namespace parlino::testing
