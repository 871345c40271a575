#include <windows.h>

#include <cstdio>

#include "platform/local_time.h"
#include "platform/win32/win32_text.h"

namespace parlino::platform {

std::string LocalTimeOfDay() {
  wchar_t time[64];
  const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time,
                                     static_cast<int>(std::size(time)));
  // The format is the user's; a failure (a format too long for the buffer) falls back to 24 hours.
  if (length > 1) return ToUtf8(win32_impl::FromWide(std::wstring_view(time, length - 1)));
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char fallback[16];
  std::snprintf(fallback, sizeof fallback, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
  return fallback;
}

}  // namespace parlino::platform
