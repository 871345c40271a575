#pragma once
// The options window: the program's main window. It lives for the whole run, mostly hidden, and
// owns the long-lived components (voice adapters, hot keys, timers, tray icon). Its controls are
// the working copy of the settings.
#include <QWidget>
#include <memory>

#include "app/app_context.h"
#include "app/entry/debug_log.h"
#include "reading/global_hot_key.h"
#include "speech/sapi4/tm_speech.h"
#include "speech/sapi5/sp_voice.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;

namespace parlino::app {

class IniFile;
class THotKeyEdit;

class TfrmMain : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmMain(AppContext& context);
  ~TfrmMain() override;

  // The startup sequence; run once after creation and again after the first-run welcome.
  void FormCreate();
  void LoadCfg();
  void SaveCfg();
  void DebugLog(std::string_view entry) { log_.Write(entry); }

  std::filesystem::path CfgPath() const { return context_.folders.dataFolder / "cfg.ini"; }
  // True when the startup sequence asked to start hidden in the tray.
  bool StartMinimized() const { return startMinimized_; }

  // Read-out handlers of the three sliders.
  void Speed_BarChange();
  void Pitch_BarChange();
  void Volume_BarChange();

  // The number of legacy engine modes: the catalogue's first entries are theirs.
  int Sapi4EngineCount() const { return static_cast<int>(SpeechAPI4.Engines().size()); }

  bool Sapi4Available = true;
  bool Sapi5Available = true;
  bool Sapi5Scales = false;
  bool IsFirstRun = true;
  bool ShowWelcome = false;
  bool PlacementPending = true;
  Text HelpFile;

  // Tabs.
  QTabWidget* Pages;
  QWidget* General_Sheet;
  QWidget* Speech_Sheet;
  QWidget* Slots_Sheet;
  QWidget* TabSheet1;
  QWidget* About_Sheet;

  // "General" tab and the bottom strip.
  QGroupBox* GroupBox1;
  QCheckBox* AutoStart_CheckBox;
  QCheckBox* TrayIcon_CheckBox;
  THotKeyEdit* Helper_HotKey;
  QGroupBox* GroupBox2;
  QLabel* Label1;
  THotKeyEdit* Reading_HotKey;
  QLabel* Label10;
  THotKeyEdit* Options_HotKey;
  QLabel* Label2;
  THotKeyEdit* Stop_HotKey;
  QCheckBox* ReadByMouse;
  QWidget* Panel1;
  QPushButton* btnAddVoices;
  QPushButton* btnOK;
  QPushButton* btnCancel;
  QPushButton* btnHelp;

  // "Default voice" tab.
  QListWidget* VoicesList;
  QSlider* Speed_Bar;
  QSlider* Pitch_Bar;
  QSlider* Volume_Bar;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QLineEdit* editTestText;
  QPushButton* btnTestVoice;

  // "Pronunciation" tab.
  QCheckBox* IgnoreCharacters_CheckBox;
  QLineEdit* Ignored_Characters;
  QCheckBox* WordsCorr_CheckBox;

  // "About" tab.
  QLabel* Label6;
  QLabel* Label9;
  QLabel* HyperLabel1;
  QLabel* HyperLabel2;
  QLabel* HyperLabel3;
  QLabel* Label8;

  // Components.
  speech::TMSpeech SpeechAPI4;
  speech::TSpVoice SpeechAPI5;
  reading::GlobalHotKey DefaultHotKey;
  reading::GlobalHotKey OptionsHotKey;
  reading::GlobalHotKey StopHotKey;
  QTimer* MouseTimer;
  QTimer* TrayAnimation_Timer;
  QTimer* EasterEgg1Timer;
  QSystemTrayIcon* TrayIcon;

 private:
  void CreateGeneralSheet();
  void CreateSpeechSheet();
  void CreatePronunciationSheet();
  void CreateAboutSheet();
  void CreateBottomStrip();

  void CheckSapi4();
  void CheckSapi5();
  void LoadSliders(IniFile& ini);
  void SelectSavedVoice(IniFile& ini);

  AppContext& context_;
  DebugLogFile log_;
  bool startMinimized_ = false;
};

}  // namespace parlino::app
