// Moving the settings between cfg.ini and the pages. The order of every step is kept here, in
// one place; each page reads and writes its own keys.
#include <QTimer>

#include "app/settings/cfg_file.h"
#include "app/settings/ini_file.h"
#include "app/settings/tidy_ini_file.h"
#include "app/ui/frm_main.h"
#include "app/ui/pages/about_page.h"
#include "app/ui/pages/default_voice_page.h"
#include "app/ui/pages/general_page.h"
#include "app/ui/pages/pronunciation_page.h"
#include "app/ui/pages/slots_page.h"
#include "app/ui/widgets/qt_text.h"
#include "platform/platform_error.h"

namespace parlino::app {

// General, Pronunciation, then Speech: the file's sections in the order they were first written.
std::array<TOptionsPage*, 5> TfrmMain::SettingsOrder() const {
  return {General_Sheet, TabSheet1, Speech_Sheet, Slots_Sheet, About_Sheet};
}

namespace {

// The settings cannot be written: the program goes on with what it has, the user hears of it
// once, and the log hears of every time.
void ReportUnsaved(UserNotices& notices, const std::exception& error) {
  notices.Report(UserNotices::Kind::Settings,
                 u"Parlino cannot save its settings. It goes on working with the settings it has "
                 u"now, but changes made from now on are lost when it ends.\n\n" +
                     FromUtf8(error.what()),
                 std::string("Settings not saved: ") + error.what());
}

}  // namespace

void TfrmMain::ReportUnsavedSettings(const std::exception& error) {
  ReportUnsaved(notices_, error);
}

void TfrmMain::LoadCfg() {
  IniFile cfg(context_.profiles, CfgPath(context_.folders));
  if (const auto error = cfg.ReadError()) {
    notices_.Report(UserNotices::Kind::Settings,
                    u"Parlino cannot read its settings, so it starts with the default ones and "
                    u"cannot save changes to them.\n\n" +
                        FromUtf8(*error),
                    "Settings not read: " + *error);
  }

  IsFirstRun = cfg.ReadBool(kGeneral, u"FirstRun", true);
  if (IsFirstRun) {
    // From the first run on the program starts with the desktop. A desktop that refuses the
    // entry is no reason to stop: the check box then shows the truth.
    try {
      General_Sheet->WriteRunValue();
    } catch (const std::exception& error) {
      notices_.Log(std::string("Autostart entry not written: ") + error.what());
    }
    try {
      cfg.WriteBool(kGeneral, u"FirstRun", false);
    } catch (const PlatformError& error) {
      ReportUnsaved(notices_, error);
    }
  }

  for (TOptionsPage* page : SettingsOrder()) {
    page->LoadCfg(cfg);
    if (page == General_Sheet) ShowWelcome = !cfg.ReadBool(kGeneral, u"WelcomeDlg", false);
  }
  // The file is closed here: a first run's write reaches it now, in one piece.
  try {
    cfg.Commit();
  } catch (const PlatformError& error) {
    ReportUnsaved(notices_, error);
  }

  ApplyHotKeys();
  DefaultHotKey.SetActive(true);
  OptionsHotKey.SetActive(true);
  StopHotKey.SetActive(true);

  for (TOptionsPage* page : SettingsOrder()) page->LoadStores();

  // The window's placement is not stored: it opens centred every time.
  PlacementPending = false;
}

void TfrmMain::SaveCfg() {
  // A failed save is abandoned where it failed, silently after the first time it is told. The
  // keys reach the file together, tidied, in one replacement: all of them or none.
  try {
    IniFile cfg(context_.profiles, CfgPath(context_.folders));
    for (TOptionsPage* page : SettingsOrder()) page->SaveCfg(cfg);
    cfg.Commit(TidyIniLines);
  } catch (const PlatformError& error) {
    ReportUnsaved(notices_, error);
    return;
  } catch (const std::exception& error) {
    notices_.Log(std::string("Settings not saved: ") + error.what());
    return;
  }
  try {
    for (TOptionsPage* page : SettingsOrder()) page->SaveStores();
  } catch (const std::exception& error) {
    notices_.Log(std::string("Settings not saved: ") + error.what());
  }
}

// The global hot keys follow the General page's codes; the middle-button poll its check box.
void TfrmMain::ApplyHotKeys() {
  DefaultHotKey.SetHotKey(General_Sheet->ReadingHotKey());
  OptionsHotKey.SetHotKey(General_Sheet->OptionsHotKey());
  StopHotKey.SetHotKey(General_Sheet->StopHotKey());
  if (General_Sheet->ReadByMouseChecked()) {
    MouseTimer->start();
  } else {
    MouseTimer->stop();
  }
}

}  // namespace parlino::app
