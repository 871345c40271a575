#include "app/entry/linux_services.h"

#include <utility>

#include "platform/linux/x11_display.h"

namespace parlino::app {

AppContext LinuxServices::Context(const platform::Folders& folders,
                                  std::vector<std::string> arguments) {
  return AppContext{folders,
                    platform::linux_impl::ProgramFile(),
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
                    downloads,
                    &clipboard,
                    platform::linux_impl::WaylandSession()};
}

}  // namespace parlino::app
