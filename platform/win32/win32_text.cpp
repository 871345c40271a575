#include "platform/win32/win32_text.h"

#include <cstdio>

#include "platform/platform_error.h"

namespace parlino::platform::win32_impl {

std::string ErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer != nullptr ? buffer : L"", length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
    text.pop_back();
  }
  if (!text.empty()) return ToUtf8(FromWide(text));
  char number[32];
  std::snprintf(number, sizeof number, "error 0x%08lX", static_cast<unsigned long>(error));
  return number;
}

void ThrowWin32Error(const std::string& what, DWORD error) {
  throw PlatformError(what + ": " + ErrorText(error), static_cast<std::int64_t>(error));
}

void ThrowComError(const std::string& what, HRESULT result) {
  throw PlatformError(what + ": " + ErrorText(static_cast<DWORD>(result)),
                      static_cast<std::int64_t>(result));
}

HRESULT CheckCom(HRESULT result, const char* what) {
  if (FAILED(result)) ThrowComError(what, result);
  return result;
}

}  // namespace parlino::platform::win32_impl
