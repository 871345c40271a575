#pragma once
// The content of the "Voice slots" page: the slot list SlotsList with its Add, Edit, Delete and
// Clear all buttons, the slot table behind it (slots.ini as loaded, one global hot key per slot)
// and the slot editor TfrmSlot. Slot n is row n of the list, entry n of the table, the hot key
// "SlotHotKey_n" with tag n, and the section Slot_n; every operation that removes or renumbers
// sections ends with a reload, so that these stay in step.
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "platform/code_page.h"
#include "platform/hot_key_registrar.h"
#include "platform/legacy_engines.h"
#include "platform/message_boxes.h"
#include "platform/profile_store.h"
#include "platform/shell.h"
#include "reading/reading_controller.h"
#include "slots/frm_slot.h"
#include "slots/slot_file.h"
#include "slots/slot_hot_keys.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace parlino::voice_slots {

struct SlotsServices {
  platform::ProfileStore& profiles;
  std::filesystem::path slotsFile;  // slots.ini in the data folder
  SlotFile::Tidy tidy;
  platform::HotKeyRegistrar& hotKeys;
  // The reading of the slot whose hot key was pressed (SelectSlot), by the hot key's tag.
  SlotHotKeys::Pressed selectSlot;
  ProgramHotKeys programHotKeys;
  SlotVoices& voices;
  speech::TMSpeech& sapi4;
  speech::TSpVoice& sapi5;
  platform::LegacyEngineServer& legacyEngines;
  const platform::CodePage& codePage;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  const Text& helpFile;
};

class TSlotsPanel final : public QWidget, public SlotList {
  Q_OBJECT
 public:
  explicit TSlotsPanel(SlotsServices services, QWidget* parent = nullptr);
  ~TSlotsPanel() override;

  // Rebuilds the list, the table and the slot hot keys from slots.ini.
  void LoadVoiceSlots() override;
  // Removes slot `index` from the file and from the list and renumbers the sections after it.
  // The table and the hot keys stay as they are: the caller reloads.
  void DeleteVoiceSlot(int index);
  // The end of the program: every slot hot key is deactivated and destroyed.
  void ReleaseHotKeys();

  // Row n as a reading uses it; nothing for a slot that does not exist.
  std::optional<reading::SlotRow> Slot(int n) const;
  const std::vector<SlotRecord>& Slots() const override { return slots_; }
  std::optional<int> SelectedSlot() const override;

  void BitBtn4Click();  // Add
  void BitBtn5Click();  // Edit
  void BitBtn6Click();  // Delete
  void BitBtn7Click();  // Clear all
  void SlotsListDblClick();
  void SlotsListKeyDown(int key, Qt::KeyboardModifiers shift);

  TfrmSlot& frmSlot() { return *frmSlot_; }

 private:
  void ActivateList() override;
  void CreateList();
  void CreateButtons(QWidget* bar);
  std::vector<int> SelectedRows() const;
  void SelectRow(int row);
  // The list's rows from the table.
  void ShowRows();
  // Greys the hot key of a slot whose combination another program or an earlier slot holds.
  void ShowHotKeyStates();
  // Shows the editor modally, centred on and kept above the window this list is on.
  void ShowEditor();

  SlotsServices s_;
  SlotFile file_;
  SlotHotKeys hotKeys_;
  std::vector<SlotRecord> slots_;

  QLabel* Label11;
  QTableWidget* SlotsList;
  QPushButton* BitBtn4;
  QPushButton* BitBtn5;
  QPushButton* BitBtn6;
  QPushButton* BitBtn7;
  // A window of its own, not a child: its controls' names are those of other windows' too.
  std::unique_ptr<TfrmSlot> frmSlot_;
};

}  // namespace parlino::voice_slots
