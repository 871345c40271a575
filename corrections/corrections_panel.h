#pragma once
// The corrections list of the Pronunciation page: the list view Words_Table with its Add, Edit,
// Delete and Test buttons, the words.ini file behind it, and the editor TfrmWord. The options
// window hosts it on its Pronunciation page, calls RestoreWords at the end of every settings
// load and SaveWords at the end of every save, and reads Rows() at every reading.
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "corrections/correction.h"
#include "corrections/frm_word.h"
#include "corrections/pronunciation_voice.h"
#include "platform/code_page.h"
#include "platform/message_boxes.h"
#include "platform/shell.h"

class QPushButton;
class QTableView;

namespace parlino::corrections {

class CorrectionsModel;

struct CorrectionsServices {
  std::filesystem::path wordsFile;  // words.ini in the data folder
  const platform::CodePage& codePage;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  PronunciationVoice& voice;
  const Text& helpFile;
};

class TCorrectionsPanel final : public QWidget, private WordsList {
  Q_OBJECT
 public:
  explicit TCorrectionsPanel(CorrectionsServices services, QWidget* parent = nullptr);
  ~TCorrectionsPanel() override;

  // Fills the list from words.ini; a missing file leaves the list as it is. A read error
  // throws, naming the cause and the file, and leaves the list as it is.
  void RestoreWords();
  // Writes the list to words.ini, replacing the file as a whole. Errors reach the caller.
  void SaveWords() override;
  // The rows in display order, which is the order readings apply them in.
  const std::vector<Correction>& Rows() const override;

  void BitBtn8Click();   // Add
  void BitBtn9Click();   // Edit
  void BitBtn10Click();  // Delete
  void BitBtn11Click();  // Test
  void Words_TableDblClick();
  void MakeColumnsWidths();

  TfrmWord& frmWord() { return *frmWord_; }

 private:
  void AppendRow(Correction row) override;
  void ChangeRow(std::size_t row, Correction value) override;

  std::optional<std::size_t> SelectedRow() const;
  void SelectRow(std::optional<std::size_t> row);
  void CreateTable();
  void CreateButtons();
  // Shows the editor modally, centred on and kept above the window this list is on.
  void ShowEditor();

  CorrectionsServices s_;
  CorrectionsModel* model_;
  QTableView* Words_Table;
  QWidget* buttonColumn_;
  QPushButton* BitBtn8;
  QPushButton* BitBtn9;
  QPushButton* BitBtn10;
  QPushButton* BitBtn11;
  // A window of its own, not a child: its controls' names are those of other windows' too.
  std::unique_ptr<TfrmWord> frmWord_;
};

}  // namespace parlino::corrections
