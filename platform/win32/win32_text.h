#pragma once
// Text as the Windows API takes it (UTF-16 in wchar_t), and Windows errors as PlatformError.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/text.h"

namespace parlino::platform::win32_impl {

inline std::wstring Wide(TextView text) {
  return std::wstring(text.begin(), text.end());
}

inline Text FromWide(std::wstring_view text) {
  return Text(text.begin(), text.end());
}

// The system's description of a Win32 error code or an HRESULT, in UTF-8, without the line break
// the system ends it with; the number when the system has no text for it.
std::string ErrorText(DWORD error);

// Throws PlatformError "<what>: <the system's text>" carrying `error` (GetLastError's by default).
[[noreturn]] void ThrowWin32Error(const std::string& what, DWORD error = GetLastError());
[[noreturn]] void ThrowComError(const std::string& what, HRESULT result);

// Throws for a failing HRESULT; returns it otherwise (S_FALSE is no failure).
HRESULT CheckCom(HRESULT result, const char* what);

}  // namespace parlino::platform::win32_impl
