#include "app/ui/pages/pronunciation_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/settings/cfg_file.h"
#include "app/settings/ini_file.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/qt_text.h"

namespace parlino::app {
namespace {

constexpr TextView kDefaultIgnoredCharacters = u"*\\/\"`_~:'";

}  // namespace

TPronunciationPage::TPronunciationPage(corrections::CorrectionsServices services)
    : boxes_(services.boxes) {
  setObjectName("TabSheet1");
  IgnoreCharacters_CheckBox = new QCheckBox("I&gnore characters");
  IgnoreCharacters_CheckBox->setObjectName("IgnoreCharacters_CheckBox");
  Ignored_Characters = new QLineEdit;
  Ignored_Characters->setToolTip("This characters will be ignored when reading");
  Ignored_Characters->setObjectName("Ignored_Characters");
  WordsCorr_CheckBox = new QCheckBox("&Pronunciation corrections:");
  WordsCorr_CheckBox->setObjectName("WordsCorr_CheckBox");
  auto* ignore = new QHBoxLayout;
  ignore->addWidget(IgnoreCharacters_CheckBox);
  ignore->addWidget(Ignored_Characters, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(ignore);
  layout->addWidget(WordsCorr_CheckBox);
  Corrections_Panel = new corrections::TCorrectionsPanel(std::move(services), this);
  layout->addWidget(Corrections_Panel, 1);
}

void TPronunciationPage::LoadCfg(IniFile& cfg) {
  IgnoreCharacters_CheckBox->setChecked(cfg.ReadBool(kPronunciation, u"IgnoreCharacters", false));
  Ignored_Characters->setText(
      ToQString(cfg.ReadString(kPronunciation, u"IgnoredCharacters", kDefaultIgnoredCharacters)));
  WordsCorr_CheckBox->setChecked(cfg.ReadBool(kPronunciation, u"WordsCorrections", false));
}

void TPronunciationPage::SaveCfg(IniFile& cfg) {
  cfg.WriteBool(kPronunciation, u"IgnoreCharacters", IgnoreCharacters_CheckBox->isChecked());
  cfg.WriteString(kPronunciation, u"IgnoredCharacters", FromQString(Ignored_Characters->text()));
  cfg.WriteBool(kPronunciation, u"WordsCorrections", WordsCorr_CheckBox->isChecked());
}

void TPronunciationPage::LoadStores() {
  DispatchEvent(boxes_, [this] { Corrections_Panel->RestoreWords(); });
}

void TPronunciationPage::SaveStores() {
  DispatchEvent(boxes_, [this] { Corrections_Panel->SaveWords(); });
}

bool TPronunciationPage::IgnoreCharacters() const {
  return IgnoreCharacters_CheckBox->isChecked();
}

Text TPronunciationPage::IgnoredCharacters() const {
  return FromQString(Ignored_Characters->text());
}

bool TPronunciationPage::WordsCorrections() const {
  return WordsCorr_CheckBox->isChecked();
}

std::vector<corrections::Correction> TPronunciationPage::Corrections() const {
  return Corrections_Panel->Rows();
}

}  // namespace parlino::app
