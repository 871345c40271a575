#include "platform/win32/win32_shell.h"

// windows.h first: shellapi.h builds on it.
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

// ShellExecuteW's result is a number, above 32 for success.
bool Succeeded(HINSTANCE result) {
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool Win32Shell::Open(TextView target) {
  // The shell tells the user itself when it cannot open something.
  return Succeeded(
      ShellExecuteW(nullptr, L"open", Wide(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

bool Win32Shell::ShowInFolder(TextView file) {
  const std::wstring arguments = L"/select,\"" + Wide(file) + L"\"";
  return Succeeded(
      ShellExecuteW(nullptr, L"open", L"explorer.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL));
}

}  // namespace parlino::platform::win32_impl
