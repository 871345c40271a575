#pragma once
// The real platform services on Windows, made in one place for the program entry. The message
// pump and the focus copy come from the entry: with Qt they are Qt's (its event loop runs the
// Windows messages, and its widgets are no native controls that answer WM_COPY).
// Made on the user-interface thread.
#include <string>
#include <vector>

#include "app/app_context.h"
#include "platform/pulled_downloads.h"
#include "platform/win32/registry_autostart_entry.h"
#include "platform/win32/sapi4_engine_server.h"
#include "platform/win32/sapi5_voice_server.h"
#include "platform/win32/win32_beeper.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_hot_key_registrar.h"
#include "platform/win32/win32_input.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_notification_area.h"
#include "platform/win32/win32_profile_store.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/wininet_internet.h"

namespace parlino::app {

struct WindowsServices {
  WindowsServices(platform::MessagePump& messagePump, platform::FocusCopy& ownFocusCopy)
      : pump(messagePump), focusCopy(ownFocusCopy) {}

  // The context the windows work with; `arguments` is the command line, the program path first.
  AppContext Context(const platform::Folders& folders, std::vector<std::string> arguments);

  platform::MessagePump& pump;
  platform::FocusCopy& focusCopy;
  platform::win32_impl::Win32MessageBoxes boxes;
  platform::win32_impl::Win32ProfileStore profiles;
  platform::win32_impl::RegistryAutostartEntry autostart;
  platform::win32_impl::Win32Shell shell;
  platform::win32_impl::Win32Clock clock;
  platform::win32_impl::Sapi5VoiceServer voiceServer{pump};
  platform::win32_impl::Sapi4EngineServer legacyEngines{pump};
  platform::win32_impl::Win32CodePage codePage;
  platform::win32_impl::Win32HotKeyRegistrar hotKeys;
  platform::win32_impl::Win32Clipboard clipboard;
  platform::win32_impl::Win32Input input;
  platform::win32_impl::Win32Beeper beeper;
  platform::win32_impl::Win32NotificationArea notificationArea;
  platform::win32_impl::WinInetInternet internet;
  platform::PulledDownloads downloads{internet, pump};
};

}  // namespace parlino::app
