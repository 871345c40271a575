#include "platform/win32/win32_profile_store.h"

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

std::wstring ReadValue(const std::filesystem::path& file, TextView section, TextView key,
                       const wchar_t* fallback) {
  wchar_t buffer[ProfileStore::kMaxValueLength + 1];
  const DWORD length =
      GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), fallback, buffer,
                               static_cast<DWORD>(std::size(buffer)), file.c_str());
  return std::wstring(buffer, length);
}

// A value is one line: line breaks in it would start new keys of their own.
std::wstring OneLine(TextView value) {
  std::wstring line = Wide(value);
  for (wchar_t& c : line) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return line;
}

void WriteEntry(const std::filesystem::path& file, TextView section, TextView key,
                const wchar_t* value) {
  if (!WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), value, file.c_str())) {
    ThrowWin32Error("Cannot write " + ToUtf8(FromWide(file.native())));
  }
}

}  // namespace

std::optional<Text> Win32ProfileStore::Read(const std::filesystem::path& file, TextView section,
                                            TextView key) {
  // A missing key reads as the default; a second, different default tells a value that happens
  // to equal the first one from a missing key.
  static constexpr wchar_t kFirst[] = L"\x01";
  static constexpr wchar_t kSecond[] = L"\x02";
  std::wstring value = ReadValue(file, section, key, kFirst);
  if (value != kFirst) return FromWide(value);
  value = ReadValue(file, section, key, kSecond);
  if (value != kSecond) return FromWide(value);
  return std::nullopt;
}

void Win32ProfileStore::Write(const std::filesystem::path& file, TextView section, TextView key,
                              TextView value) {
  WriteEntry(file, section, key, OneLine(value).c_str());
}

void Win32ProfileStore::DeleteKey(const std::filesystem::path& file, TextView section,
                                  TextView key) {
  // The system would create a missing file just to remove nothing from it.
  if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  WriteEntry(file, section, key, nullptr);
}

std::vector<Text> Win32ProfileStore::KeyNames(const std::filesystem::path& file, TextView section) {
  // The names come as one block, each ended by a 0 and the block by a second 0; a block that
  // filled the buffer was cut, so the buffer grows until the names fit.
  std::wstring buffer(4096, L'\0');
  DWORD length = 0;
  for (;;) {
    length = GetPrivateProfileStringW(Wide(section).c_str(), nullptr, L"", buffer.data(),
                                      static_cast<DWORD>(buffer.size()), file.c_str());
    if (length + 2 < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<Text> names;
  for (std::size_t start = 0; start < length;) {
    const std::size_t end = buffer.find(L'\0', start);
    names.push_back(FromWide(std::wstring_view(buffer).substr(start, end - start)));
    start = end + 1;
  }
  return names;
}

}  // namespace parlino::platform::win32_impl
