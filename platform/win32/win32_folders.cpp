#include "platform/win32/win32_folders.h"

#include <shlobj.h>
#include <windows.h>

#include <string>
#include <system_error>

namespace parlino::platform::win32_impl {
namespace {

std::filesystem::path ProgramFile() {
  // Paths may be longer than MAX_PATH; the buffer grows until the whole path fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::filesystem::path(buffer.substr(0, length));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

Folders DiscoverFolders() {
  Folders folders;
  folders.programFolder = ProgramFile().parent_path();
  wchar_t appData[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
    folders.dataFolder = std::filesystem::path(appData) / L"Parlino";
    std::error_code ignored;
    std::filesystem::create_directories(folders.dataFolder, ignored);
  }
  return folders;
}

}  // namespace parlino::platform::win32_impl
