#pragma once
// The options window: the program's main window. It lives for the whole run, mostly hidden, and
// owns the long-lived components (voice adapters, hot keys, timers, tray icon). Its controls are
// the working copy of the settings.
#include <QWidget>
#include <memory>

#include "app/app_context.h"
#include "app/entry/debug_log.h"
#include "reading/global_hot_key.h"
#include "reading/pronunciation_settings.h"
#include "reading/reading_controller.h"
#include "reading/selected_text.h"
#include "speech/catalogue/voice_catalogue.h"
#include "speech/sapi4/tm_speech.h"
#include "speech/sapi5/sp_voice.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSlider;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QAction;

namespace parlino::app {

class IniFile;
class THotKeyEdit;

class TfrmMain : public QWidget,
                 public reading::DefaultVoice,
                 public reading::PronunciationSettings,
                 public reading::SlotTable,
                 private reading::ReadingView {
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

  // The user changing the tab.
  void PagesChange();

  // The voice catalogue in VoicesList and the default voice ("Default voice" tab).
  void LoadVoicesList();
  // Applies the entry at newIndex to its engine and to the sliders; oldIndex is not used.
  void VoicesListChange(int oldIndex, int newIndex);
  void VoicesListClick();
  void VoicesListEnter();
  void VoicesListKeyDown(int key, Qt::KeyboardModifiers shift);
  // Readies the engine of the selected entry with the tab's slider values; speaks nothing.
  // Errors reach the caller.
  void SelectDefaultVoice() override;
  void btnTestVoiceClick();

  // Read-out handlers of the three sliders.
  void Speed_BarChange();
  void Pitch_BarChange();
  void Volume_BarChange();

  // Catalogue queries. An index is a row of VoicesList; -1 stands for no entry.
  // The number of legacy engine modes: the catalogue's first entries are theirs.
  int Sapi4EngineCount() const { return static_cast<int>(SpeechAPI4.Engines().size()); }
  int SelectedVoiceIndex() const override;
  speech::CatalogueEntry VoiceEntry(int index) const;  // the index rule; throws for -1
  Text VoiceDisplayName(int index) const;
  // The first entry with this display name, letter case ignored; -1 when there is none.
  int VoiceIndexOfName(TextView displayName) const override;
  // A selection the program makes: the voice is not applied.
  void SelectVoiceQuietly(int index);

  // The Pronunciation page as every reading sees it.
  bool IgnoreCharacters() const override;
  Text IgnoredCharacters() const override;
  bool WordsCorrections() const override;
  std::vector<corrections::Correction> Corrections() const override;

  // The slot list; slot n is its row n.
  std::optional<reading::SlotRow> Slot(int n) const override;

  // OK saves and applies the settings and hides the window; Cancel only hides it.
  void btnOKClick();
  void btnCancelClick();
  // The options hot key and the tray's "Options...": the window on its "General" tab.
  void OptionsHotKeyHotKey();
  // The tray's "Exit": speech stops, the settings are saved, the program ends.
  void Exit1Click();

  bool Sapi4Available = true;
  bool Sapi5Available = true;
  bool Sapi5Scales = false;
  // Set by a tab change, cleared by a click on the list: while set, VoicesListChange does
  // nothing, so the values the settings gave the sliders stay until the user picks a voice.
  bool VoiceChangeSuppressed = false;
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
  QSystemTrayIcon* TrayIcon;
  QMenu* TrayMenu;
  QAction* Stopreading1;

  // Captures selections and turns requests into readings; holds the reading state.
  reading::SelectedTextCapture Capture;
  reading::ReadingController Reading;

 private:
  void CreateGeneralSheet();
  void CreateSpeechSheet();
  void CreatePronunciationSheet();
  void CreateAboutSheet();
  void CreateBottomStrip();

  void showEvent(QShowEvent* event) override;
  void ConnectFrame();
  void ConnectReading();
  void SetPauseCaption(TextView caption) override;
  void SetAnimationRunning(bool running) override;
  void ShowTrayPicture(reading::TrayPicture picture) override;

  void CheckSapi4();
  void CheckSapi5();
  void LoadSpeechSettings(IniFile& ini);
  void LoadSliders(IniFile& ini, int savedVoice);
  int SavedVoiceIndex(IniFile& ini) const;

  void ApplyVoice(int index);
  void UseSapi4Scales(int index);
  void UseSapi5Scales();
  void ShowReadouts();

  AppContext& context_;
  DebugLogFile log_;
  bool startMinimized_ = false;
};

}  // namespace parlino::app
