#include "app/entry/windows_services.h"

#include <windows.h>

#include <utility>

namespace parlino::app {
namespace {

std::filesystem::path ProgramPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) return path.substr(0, length);
    path.resize(path.size() * 2);
  }
}

}  // namespace

AppContext WindowsServices::Context(const platform::Folders& folders,
                                    std::vector<std::string> arguments) {
  return AppContext{folders,
                    ProgramPath(),
                    std::move(arguments),
                    profiles,
                    autostart,
                    boxes,
                    shell,
                    voiceServer,
                    legacyEngines,
                    codePage,
                    hotKeys,
                    clipboard,
                    focusCopy,
                    input,
                    input,
                    beeper,
                    clock,
                    pump,
                    notificationArea,
                    downloads};
}

}  // namespace parlino::app
