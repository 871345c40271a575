#include "app/entry/linux_services.h"

#include <utility>

namespace parlino::app {

AppContext LinuxServices::Context(const platform::Folders& folders,
                                  std::vector<std::string> arguments) {
  return AppContext{folders,
                    folders.programFolder / "parlino",
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
                    pump};
}

}  // namespace parlino::app
