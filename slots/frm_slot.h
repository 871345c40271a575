#pragma once
// TfrmSlot: the modal dialog in which the user makes a new voice slot or changes one: the voice,
// its speed, pitch and volume, the slot's hot key, a trial of the voice, and the save into
// slots.ini. Created once by the slot list and reused; each opening sets every field anew. While
// it is shown no global hot key of the program is registered, so that any combination, the
// program's own included, can be typed into Slot_HotKey.
#include <QDialog>
#include <optional>
#include <vector>

#include "platform/code_page.h"
#include "platform/legacy_engines.h"
#include "platform/message_boxes.h"
#include "platform/shell.h"
#include "reading/global_hot_key.h"
#include "slots/slot_file.h"
#include "slots/slot_hot_keys.h"
#include "slots/slot_rules.h"
#include "speech/sapi4/tm_speech.h"
#include "speech/sapi5/sp_voice.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;

namespace parlino::app {
class THotKeyEdit;
}

namespace parlino::voice_slots {

// The voice catalogue as the slot editor sees it; the Default voice page provides it.
class SlotVoices {
 public:
  virtual ~SlotVoices() = default;
  // The display names, in catalogue order: the legacy engine modes first.
  virtual std::vector<Text> VoiceNames() const = 0;
  // The Default voice page's test text, as typed.
  virtual Text TestText() const = 0;
};

// The slot list as its editor uses it.
class SlotList {
 public:
  virtual ~SlotList() = default;
  virtual const std::vector<SlotRecord>& Slots() const = 0;
  // The first selected row.
  virtual std::optional<int> SelectedSlot() const = 0;
  virtual void LoadVoiceSlots() = 0;
  // The list becomes the options window's active control.
  virtual void ActivateList() = 0;
};

// The options window's own hot keys.
struct ProgramHotKeys {
  reading::GlobalHotKey& reading;
  reading::GlobalHotKey& options;
  reading::GlobalHotKey& stop;
};

struct SlotEditorServices {
  SlotList& list;
  SlotFile& file;
  SlotHotKeys& slotHotKeys;
  ProgramHotKeys programHotKeys;
  SlotVoices& voices;
  speech::TMSpeech& sapi4;  // the options window's: its Engines and current values
  speech::TSpVoice& sapi5;  // the options window's modern voice, which the test speaks on
  platform::LegacyEngineServer& legacyEngines;  // for the dialog's own legacy component
  const platform::CodePage& codePage;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  const Text& helpFile;
};

class TfrmSlot final : public QDialog {
  Q_OBJECT
 public:
  TfrmSlot(SlotEditorServices services, QWidget* parent);
  ~TfrmSlot() override;

  // The two openings, everything but the showing. Adding: the first voice, no hot key. Editing
  // row `row`: its voice, hot key and values; a stored value that is not a number throws, and
  // the dialog must not be shown then.
  void PrepareAdd();
  void PrepareEdit(int row);
  bool Adding() const { return adding_; }
  // Whether the speed and pitch read-outs show 15 x position + 180 (a modern voice).
  bool SlotSapi5Scales() const { return slotSapi5Scales_; }

  // The voice at newIndex: its ranges, and the values of the selected slot or of a new one.
  void VoicesListChange(int oldIndex, int newIndex);
  void VoicesListClick();
  void VoicesListEnter();
  void Speed_BarChange();
  void Pitch_BarChange();
  void Volume_BarChange();
  // Checks the input, writes the slot, reloads the slot list and closes; a refusal keeps the
  // dialog open with the input as it is.
  void Action_ButtonClick();
  // Speaks the test phrase with the chosen voice and values; writes nothing.
  void Button1Click();
  void Cancel_ButtonClick();
  // Esc cancels, F1 opens the help; the window sees these keys before its controls.
  void FormKeyDown(int key, Qt::KeyboardModifiers shift);
  void FormHelp();
  // FormCloseQuery: every way of closing gives the slot list the focus; closing is never refused.
  void done(int result) override;

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;  // FormShow
  void hideEvent(QHideEvent* event) override;  // FormHide
  void SetProgramHotKeysActive(bool active);

  void CreateControls();
  void LayOut();
  void Connect();
  void Prepare(const QLabel& icon, TextView caption, TextView action);
  void FillVoices();
  // The row of the selected voice, -1 when none is selected.
  int SelectedVoice() const;
  void SelectVoiceQuietly(int index);
  int LegacyCount() const;
  bool IsLegacyIndex(int index) const;
  void UseSapi5Ranges();
  void SetPositions(const Positions& positions);
  void MakeVolumeAudible();
  void ShowStoredReadouts(const SlotRecord& slot);
  void ShowReadouts();

  SlotEditorServices s_;
  // The dialog's own legacy component, without event handlers: the ranges of a legacy voice and
  // its test phrases.
  speech::TMSpeech SpeechAPI4;
  bool adding_ = true;
  bool slotSapi5Scales_ = false;
  int editedRow_ = -1;
  int shownVoice_ = -1;  // the voice of the last voice change, its old index

  QGroupBox* GroupBox2;
  QLabel* Label1;
  QListWidget* VoicesList;
  QLabel* Label2;
  app::THotKeyEdit* Slot_HotKey;
  QGroupBox* GroupBox1;
  QLabel* Label3;
  QSlider* Speed_Bar;
  QLineEdit* Edit1;
  QLabel* Label4;
  QSlider* Pitch_Bar;
  QLineEdit* Edit2;
  QLabel* Label5;
  QSlider* Volume_Bar;
  QLineEdit* Edit3;
  QLabel* Image1;  // hidden: the window icon for adding
  QLabel* Image2;  // hidden: the window icon for editing
  QPushButton* Action_Button;
  QPushButton* Button1;
  QPushButton* Cancel_Button;
};

}  // namespace parlino::voice_slots
