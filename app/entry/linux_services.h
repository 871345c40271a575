#pragma once
// The real platform services on Linux (X11, espeak-ng and Flite through SDL, the desktop's
// files), made in one place for the program entry and for the benchmarks that drive the whole
// program.
// Needs the QApplication to exist first.
#include <string>
#include <vector>

#include "app/app_context.h"
#include "platform/linux/desktop_autostart_entry.h"
#include "platform/linux/desktop_shell.h"
#include "platform/linux/espeak_voice_server.h"
#include "platform/linux/flite_engine_server.h"
#include "platform/linux/folders.h"
#include "platform/linux/ini_profile_store.h"
#include "platform/linux/qt_beeper.h"
#include "platform/linux/qt_downloads.h"
#include "platform/linux/qt_focus_copy.h"
#include "platform/linux/qt_message_boxes.h"
#include "platform/linux/qt_message_pump.h"
#include "platform/linux/qt_notification_area.h"
#include "platform/linux/utf8_code_page.h"
#include "platform/linux/x11_clipboard.h"
#include "platform/linux/x11_hot_key_registrar.h"
#include "platform/linux/x11_input.h"

namespace parlino::app {

struct LinuxServices {
  // The context the windows work with; `arguments` is the command line, the program path first.
  AppContext Context(const platform::Folders& folders, std::vector<std::string> arguments);

  platform::linux_impl::QtMessageBoxes boxes;
  platform::linux_impl::IniProfileStore profiles;
  platform::linux_impl::DesktopAutostartEntry autostart{platform::linux_impl::ConfigHome() /
                                                        "autostart" / "Parlino.desktop"};
  platform::linux_impl::DesktopShell shell;
  platform::linux_impl::SystemClock clock;
  platform::linux_impl::QtMessagePump pump;
  platform::linux_impl::EspeakVoiceServer voiceServer{pump};
  platform::linux_impl::Utf8CodePage codePage;
  platform::linux_impl::FliteEngineServer legacyEngines{pump, codePage};
  platform::linux_impl::X11HotKeyRegistrar hotKeys;
  platform::linux_impl::X11Clipboard clipboard;
  platform::linux_impl::QtFocusCopy focusCopy;
  platform::linux_impl::X11Input input;
  platform::linux_impl::QtBeeper beeper;
  platform::linux_impl::QtNotificationArea notificationArea;
  platform::linux_impl::QtDownloads downloads;
};

}  // namespace parlino::app
