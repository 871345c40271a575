#pragma once
// The platform services and start-up facts the windows work with. The program entry makes the
// real ones; tests make fakes. Nothing here is global.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/autostart_entry.h"
#include "platform/beep.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/downloads.h"
#include "platform/focus_copy.h"
#include "platform/folders.h"
#include "platform/hot_key_registrar.h"
#include "platform/keyboard_input.h"
#include "platform/legacy_engines.h"
#include "platform/message_boxes.h"
#include "platform/notification_area.h"
#include "platform/pointer_buttons.h"
#include "platform/primary_selection.h"
#include "platform/profile_store.h"
#include "platform/shell.h"
#include "platform/voice_server.h"

namespace parlino::app {

struct AppContext {
  platform::Folders folders;
  std::filesystem::path programPath;
  std::vector<std::string> arguments;  // the command line, the program path first
  platform::ProfileStore& profiles;
  platform::AutostartEntry& autostart;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  platform::VoiceServer& voiceServer;
  platform::LegacyEngineServer& legacyEngines;
  const platform::CodePage& codePage;
  platform::HotKeyRegistrar& hotKeys;
  platform::Clipboard& clipboard;
  platform::FocusCopy& focusCopy;
  platform::KeyboardInput& keyboard;
  platform::PointerButtons& pointer;
  platform::Beeper& beeper;
  platform::Clock& clock;
  platform::MessagePump& pump;
  platform::NotificationArea& notificationArea;
  platform::Downloads& downloads;
  // Where the system has one: readings that no synthetic copy can serve take the highlighted text.
  platform::PrimarySelection* primarySelection = nullptr;
  // A Wayland desktop, where the synthetic copy reaches X11 windows only: readings asked for from
  // the command line take the highlighted text instead.
  bool waylandSession = false;
};

}  // namespace parlino::app
