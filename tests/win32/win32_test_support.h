#pragma once
// Helpers of the tests that run under Wine.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace parlino::testing {

// Dispatches this thread's messages until `done` holds or `timeout` passes; returns whether it
// holds.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Makes `window` the foreground window and gives `focus` (one of its controls, or the window
// itself) the keyboard focus; returns once the system says so, as input goes where it says.
bool BringToFront(HWND window, HWND focus);

// Presses or releases a key on the X server Wine runs on, as the user's keyboard would (xdotool,
// a Linux program, started through Wine's Z: drive). Wine keeps the state of keys it was only
// sent as input in step with the X server, so a key the user holds must be held there.
void PhysicalKey(const std::string& keysym, bool down);

// The folder of the running test program, where the probe program lies too.
std::filesystem::path TestProgramFolder();

// Runs a program to its end; returns its exit code and what it wrote to its error output.
struct ProgramRun {
  DWORD exitCode;
  std::string errorOutput;
};
ProgramRun RunProgram(const std::wstring& commandLine);

// The probe program, started and left running until the object goes (then it is ended).
class RunningProbe {
 public:
  explicit RunningProbe(const std::wstring& arguments);
  ~RunningProbe();
  RunningProbe(const RunningProbe&) = delete;
  RunningProbe& operator=(const RunningProbe&) = delete;

 private:
  PROCESS_INFORMATION process_{};
};

// Runs the probe program with `arguments` to its end; returns its exit code.
DWORD RunProbe(const std::wstring& arguments);

}  // namespace parlino::testing
