// Closing the window and ending the program: the close request, Exit, the end of the desktop
// session, and the release of the tray icon, the hot keys and the modern voice.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QSystemTrayIcon>
#include <cstdio>

#include "app/settings/cfg_file.h"
#include "app/settings/ini_file.h"
#include "app/ui/frm_main.h"
#include "app/ui/pages/general_page.h"
#include "app/ui/pages/options_page.h"
#include "app/ui/widgets/event_dispatch.h"

namespace parlino::app {
namespace {

constexpr TextView kCloseNotice =
    u"Parlino will now be minimized into the system tray. To restore this window double click on "
    u"program's icon in system tray.";

}  // namespace

TfrmMain::~TfrmMain() {
  BeforeCloseActions();
  context_.voiceServer.SetNoticeHandler({});
  context_.legacyEngines.SetNoticeHandler({});
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (quitting_) return;  // the program is ending already: let the window go
  bool granted = false;
  DispatchEvent(context_.boxes, [&] { granted = FormCloseQuery(); });
  event->setAccepted(granted);
  // The main window: granting its close ends the program.
  if (granted) Quit();
}

bool TfrmMain::FormCloseQuery() {
  CloseLog("Close : 1");
  if (SessionEnding) return true;
  bool granted = false;
  SaveCfg();
  CloseLog("Close : 2");
  if (ExitRequested) {
    granted = true;
  } else if (General_Sheet->MinimizeToTrayChecked()) {
    // While the session ends there is nobody to answer a notice and nothing to hide.
    if (!queryingEndSession_) {
      IniFile cfg(context_.profiles, CfgPath(context_.folders));
      if (!cfg.ReadBool(kGeneral, u"CloseMsg", false)) {
        context_.boxes.Show(platform::BoxKind::Information, u"Parlino!", kCloseNotice,
                            platform::BoxButtons::Ok);
        cfg.WriteBool(kGeneral, u"CloseMsg", true);
        cfg.Commit();
      }
      MinimizeApplication();
    }
  } else {
    granted = true;
  }
  CloseLog("Close : 3");
  return granted;
}

void TfrmMain::Exit1Click() {
  ExitRequested = true;
  try {
    SpeechAPI5.Pause();
    SpeechAPI5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);
    if (Sapi4Available) SpeechAPI4.Pause();
    SpeechAPI5.Disconnect();
  } catch (const std::exception& error) {
    // A voice that cannot be stopped ends with the process; the settings are saved all the same.
    std::fprintf(stderr, "Parlino: stopping the speech at exit: %s\n", error.what());
  }
  // The close request saves the settings and grants the close, which ends the program. A window
  // that is not shown gets no close event, so it is asked directly.
  if (isVisible()) {
    close();
  } else if (FormCloseQuery()) {
    Quit();
  }
}

void TfrmMain::WMQueryEndSession() {
  // Nobody is there to answer a box while the session ends: problems go to the log only.
  notices_.Hold();
  CloseLog("WMQueryEndSession");
  queryingEndSession_ = true;
  try {
    FormCloseQuery();  // saves the settings; its answer does not matter
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Parlino: closing at the end of the session: %s\n", error.what());
  }
  queryingEndSession_ = false;
  BeforeCloseActions();
  SessionEnding = true;
}

void TfrmMain::BeforeCloseActions() {
  CloseLog("BeforeCloseActions : 1");
  try {
    TrayIcon->hide();
    DefaultHotKey.SetActive(false);
    OptionsHotKey.SetActive(false);
    StopHotKey.SetActive(false);
    for (TOptionsPage* page : SettingsOrder()) page->BeforeCloseActions();
    if (Sapi5Available) SpeechAPI5.Disconnect();
  } catch (const std::exception& error) {
    // What could not be released goes with the process.
    std::fprintf(stderr, "Parlino: releasing at the end: %s\n", error.what());
    Quit();
  }
  CloseLog("BeforeCloseActions : 2");
}

void TfrmMain::Quit() {
  quitting_ = true;
  // exit, not quit: quit does nothing before the program's loop runs, and would leave a dialog
  // shown before it (the first start's welcome) waiting for the user. exit ends every loop.
  QCoreApplication::exit(0);
}

void TfrmMain::CloseLog(std::string_view entry) noexcept {
  try {
    DebugLog(entry);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "Parlino: %s\n", error.what());
  }
}

}  // namespace parlino::app
