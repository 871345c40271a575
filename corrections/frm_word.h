#pragma once
// TfrmWord: the small modal dialog in which the user types one pronunciation correction (the
// word, how to pronounce it, whether case matters), hears the pronunciation for a trial, and
// adds the row to the corrections list or changes one. Created once and reused; the list's Add
// and Edit commands prepare every field before each opening.
#include <QDialog>
#include <cstddef>
#include <vector>

#include "corrections/correction.h"
#include "corrections/pronunciation_voice.h"
#include "platform/message_boxes.h"
#include "platform/shell.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parlino::corrections {

// The corrections list as its editor uses it.
class WordsList {
 public:
  virtual ~WordsList() = default;
  virtual const std::vector<Correction>& Rows() const = 0;
  virtual void AppendRow(Correction row) = 0;
  virtual void ChangeRow(std::size_t row, Correction value) = 0;
  // Writes the list to words.ini; errors reach the caller.
  virtual void SaveWords() = 0;
};

struct WordEditorServices {
  WordsList& list;
  platform::MessageBoxes& boxes;
  platform::Shell& shell;
  PronunciationVoice& voice;
  const Text& helpFile;  // the program's help, opened by the link and by F1
};

class TfrmWord final : public QDialog {
  Q_OBJECT
 public:
  TfrmWord(WordEditorServices services, QWidget* parent);

  // The openings of the list's Add and Edit commands: caption, window icon, the action
  // button's caption (which sets the mode), the fields, and for editing the row number.
  void PrepareAdd();
  void PrepareEdit(std::size_t row, const Correction& correction);
  // Add mode exactly while the action button says "Add word".
  bool AddMode() const;
  std::size_t Tag() const { return tag_; }

  // Checks the input and stores the row; stays open with the input after a message or an error.
  void Action_ButtonClick();
  void Cancel_ButtonClick();
  // Speaks the pronunciation with the default voice, after what is already playing.
  void Button1Click();
  void HyperLabel2Click();
  // Esc and the close box: the same as Cancel.
  void reject() override;

 private:
  void showEvent(QShowEvent* event) override;  // FormShow
  void Prepare(const QIcon& icon, TextView action, const Correction& fields);

  QLabel* Label1;
  QLineEdit* Edit1;
  QLabel* Label2;
  QLineEdit* Edit2;
  QCheckBox* CheckBox1;
  QPushButton* Action_Button;
  QPushButton* Button1;
  QPushButton* Cancel_Button;
  QLabel* HyperLabel2;
  QLabel* Image1;  // hidden: the window icon for adding
  QLabel* Image2;  // hidden: the window icon for editing

  WordEditorServices s_;
  std::size_t tag_ = 0;
};

}  // namespace parlino::corrections
