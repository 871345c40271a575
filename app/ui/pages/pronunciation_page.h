#pragma once
// The "Pronunciation" tab: characters read as spaces and the pronunciation corrections. Every
// reading sees the page as it stands, confirmed or not. The corrections list, its file words.ini
// and its editor live in corrections/; the page hosts the list below its switch.
#include "app/ui/pages/options_page.h"
#include "corrections/corrections_panel.h"
#include "reading/pronunciation_settings.h"

class QCheckBox;
class QLineEdit;

namespace parlino::app {

class TPronunciationPage final : public TOptionsPage, public reading::PronunciationSettings {
  Q_OBJECT
 public:
  explicit TPronunciationPage(corrections::CorrectionsServices services);

  void LoadCfg(IniFile& cfg) override;
  void SaveCfg(IniFile& cfg) override;
  // The corrections list from and to words.ini (RestoreWords, SaveWords). A failure is shown
  // with its cause and file; the list keeps its rows and the load or save goes on.
  void LoadStores() override;
  void SaveStores() override;

  bool IgnoreCharacters() const override;
  Text IgnoredCharacters() const override;
  bool WordsCorrections() const override;
  std::vector<corrections::Correction> Corrections() const override;

 private:
  QCheckBox* IgnoreCharacters_CheckBox;
  QLineEdit* Ignored_Characters;
  QCheckBox* WordsCorr_CheckBox;
  corrections::TCorrectionsPanel* Corrections_Panel;  // Words_Table and its buttons

  platform::MessageBoxes& boxes_;
};

}  // namespace parlino::app
