#pragma once
// The options window: the program's main window. It lives for the whole run, mostly hidden. It
// is a frame around one page per tab and the bottom strip: the frame owns the long-lived
// components (voice adapters, hot keys, timers, tray icon and menu), runs the start-up sequence,
// moves the settings between cfg.ini and the pages, and ends the program. Each page owns its
// controls.
#include <QWidget>
#include <array>
#include <string_view>

#include "app/app_context.h"
#include "app/settings/debug_log.h"
#include "app/settings/user_notices.h"
#include "platform/single_instance.h"
#include "reading/global_hot_key.h"
#include "reading/reading_controller.h"
#include "reading/selected_text.h"
#include "speech/sapi4/tm_speech.h"
#include "speech/sapi5/sp_voice.h"

class QAction;
class QPushButton;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;

namespace parlino::voices {
class TfrmVoices;
}

namespace parlino::app {

class TAboutPage;
class TDefaultVoicePage;
class TGeneralPage;
class TOptionsPage;
class TPronunciationPage;
class TSlotsPage;
class TTrayMenu;

class TfrmMain : public QWidget, private reading::ReadingView {
  Q_OBJECT
 public:
  // The tabs by index.
  enum Tab {
    kGeneralTab = 0,
    kDefaultVoiceTab = 1,
    kSlotsTab = 2,
    kPronunciationTab = 3,
    kAboutTab = 4
  };

  explicit TfrmMain(AppContext& context);
  // The window's destruction as the program ends: BeforeCloseActions.
  ~TfrmMain() override;

  // The startup sequence; run once after creation and again after the first-run welcome.
  void FormCreate();
  // cfg.ini into the pages, and the hot keys and the middle-button poll applied.
  void LoadCfg();
  // The pages into cfg.ini; a failure abandons the save silently.
  void SaveCfg();
  // Writes a log entry with "-log"; a log that cannot be written is said once and never stops
  // what is logged.
  void DebugLog(std::string_view entry);
  // What the user should hear of once, and what only the log should hear of.
  UserNotices& Notices() { return notices_; }
  // A settings file could not be written: the user hears of it once, the log every time.
  void ReportUnsavedSettings(const std::exception& error);

  // True when the startup sequence asked to start hidden in the tray.
  bool StartMinimized() const { return startMinimized_; }

  // Showing and hiding. RestoreOptionsWindow shows the window on the tab it last showed.
  void RestoreOptionsWindow();
  void ShowOnTab(Tab tab);
  // Hides the window to the tray; without a tray it is minimized as usual, so that it stays
  // reachable.
  void MinimizeApplication();

  // Handlers of the window and its bottom strip.
  void PagesChange();
  void btnOKClick();
  void btnCancelClick();
  // Opens the help pages in the desktop's browser.
  void btnHelpClick();
  // F1 on the window.
  void FormHelp();
  void btnAddVoicesClick();
  // Every request to close the window; true grants it.
  bool FormCloseQuery();
  // A key pressed anywhere on the window: `virtualKey` with the modifiers held.
  void FormKeyDown(std::uint8_t virtualKey, Qt::KeyboardModifiers shift);
  // The options hot key does what the tray menu's "Options..." does.
  void OptionsHotKeyHotKey() { Options1Click(); }
  // A request from the command line ("-read", "-pause", "-options"), handed over by a later copy
  // or given to this one: what the reading, pause and options hot keys do. In a Wayland session
  // a reading takes the highlighted text, since the synthetic copy reaches X11 windows only.
  void SingleInstanceRequest(platform::InstanceRequest request);

  // The tray icon and its menu.
  void TrayIconDblClick() { RestoreOptionsWindow(); }
  void Options1Click();
  void Configurevoiceslots1Click();
  void Additionalvoices1Click();
  void Help1Click();
  void utorial1Click();
  void Website1Click();
  void About1Click();
  // The welcome window's speech ends: pause toggled, the queue purged, the tray icon at rest.
  void EndWelcomeReading();
  // Speech stops at once, the settings are saved, the program ends.
  void Exit1Click();

  // The end of the desktop session (the name of the message it answers on Windows): the
  // settings are saved, the hot keys and the tray icon released, and the session may end.
  void WMQueryEndSession();
  // Removes the tray icon, releases every global hot key and the modern voice. Safe to run
  // more than once.
  void BeforeCloseActions();
  // Ends every event loop that runs (a dialog's too), and with it the program; close requests
  // from then on pass unasked.
  void Quit();

  TGeneralPage& General() { return *General_Sheet; }
  TDefaultVoicePage& DefaultVoice() { return *Speech_Sheet; }
  TSlotsPage& Slots() { return *Slots_Sheet; }
  TPronunciationPage& Pronunciation() { return *TabSheet1; }
  TAboutPage& About() { return *About_Sheet; }
  voices::TfrmVoices& Voices() { return *frmVoices_; }

  bool Sapi4Available = true;
  bool Sapi5Available = true;
  bool IsFirstRun = true;
  bool ShowWelcome = false;
  bool PlacementPending = true;
  // Set by Exit: the next close request is granted after saving.
  bool ExitRequested = false;
  // Set when the session ends: later close requests are granted at once, without saving.
  bool SessionEnding = false;
  Text HelpFile;
  // The key codes typed on the window, for the easter egg; only the last few are kept.
  Text TypedKeys;

  // Components.
  speech::TMSpeech SpeechAPI4;
  speech::TSpVoice SpeechAPI5;
  reading::GlobalHotKey DefaultHotKey;
  reading::GlobalHotKey OptionsHotKey;
  reading::GlobalHotKey StopHotKey;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The pages in the order their keys stand in cfg.ini; LoadCfg and SaveCfg walk them so.
  std::array<TOptionsPage*, 5> SettingsOrder() const;
  void CreateBottomStrip();
  void CreateTray();
  void ConnectFrame();
  void ConnectReading();
  void ApplyHotKeys();
  void CheckSapi4();
  void CheckSapi5();
  void SelectTab(int index);
  void ToggleEasterEgg();
  // Log entries of the close and the shutdown: a log that cannot be written stops neither.
  void CloseLog(std::string_view entry) noexcept;

  void SetPauseCaption(TextView caption) override;
  void SetAnimationRunning(bool running) override;
  void ShowTrayPicture(reading::TrayPicture picture) override;

  AppContext& context_;
  DebugLogFile log_;
  UserNotices notices_;
  bool startMinimized_ = false;
  bool activationDone_ = false;
  bool queryingEndSession_ = false;
  bool quitting_ = false;
  bool easterEgg_ = false;
  // The key event last seen and the parent of the control it reached, to count a key once while
  // Qt offers it to the control's parents in turn.
  const QEvent* lastKeyEvent_ = nullptr;
  const QObject* lastKeyOfferedNext_ = nullptr;

  // The pages exist before the reading parts below, which read them.
  TGeneralPage* General_Sheet;
  TDefaultVoicePage* Speech_Sheet;
  TSlotsPage* Slots_Sheet;
  TPronunciationPage* TabSheet1;
  TAboutPage* About_Sheet;

  // Captures selections and turns requests into readings; holds the reading state.
  reading::SelectedTextCapture Capture;
  reading::ReadingController Reading;

  QTabWidget* Pages;
  QWidget* Panel1;
  QPushButton* btnAddVoices;
  QPushButton* btnOK;
  QPushButton* btnCancel;
  QPushButton* btnHelp;
  QTimer* MouseTimer;
  QTimer* TrayAnimation_Timer;
  QSystemTrayIcon* TrayIcon;
  TTrayMenu* TrayMenu;
  QAction* Stopreading1;
  voices::TfrmVoices* frmVoices_;  // "Additional voices", shown by btnAddVoices
};

}  // namespace parlino::app
