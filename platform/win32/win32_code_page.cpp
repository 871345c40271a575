#include "platform/win32/win32_code_page.h"

#include <windows.h>

#include <limits>

#include "platform/platform_error.h"

namespace parlino::platform::win32_impl {
namespace {

int Length(std::size_t size) {
  if (size > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw PlatformError("The text is too long for the code page conversion");
  }
  return static_cast<int>(size);
}

}  // namespace

std::string Win32CodePage::FromWide(TextView text) const {
  if (text.empty()) return {};
  const auto* source = reinterpret_cast<const wchar_t*>(text.data());
  const int sourceLength = Length(text.size());
  const UINT page = GetACP();
  const int size = WideCharToMultiByte(page, 0, source, sourceLength, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(page, 0, source, sourceLength, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

Text Win32CodePage::ToWide(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int sourceLength = Length(bytes.size());
  const UINT page = GetACP();
  const int size = MultiByteToWideChar(page, 0, bytes.data(), sourceLength, nullptr, 0);
  Text text(static_cast<std::size_t>(size), u'\0');
  MultiByteToWideChar(page, 0, bytes.data(), sourceLength, reinterpret_cast<wchar_t*>(text.data()),
                      size);
  return text;
}

}  // namespace parlino::platform::win32_impl
