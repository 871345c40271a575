#pragma once
// The "Default voice" tab: the voice catalogue of both engine generations in VoicesList, the
// default voice chosen in it, its speed, pitch and volume, and a test phrase.
#include <functional>
#include <string_view>

#include "app/ui/pages/options_page.h"
#include "corrections/pronunciation_voice.h"
#include "platform/code_page.h"
#include "platform/message_boxes.h"
#include "reading/reading_controller.h"
#include "slots/frm_slot.h"
#include "speech/catalogue/voice_catalogue.h"
#include "speech/sapi4/tm_speech.h"
#include "speech/sapi5/sp_voice.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;

namespace parlino::app {

struct DefaultVoiceServices {
  speech::TMSpeech& sapi4;
  speech::TSpVoice& sapi5;
  const platform::CodePage& codePage;
  platform::MessageBoxes& boxes;
  const bool& sapi5Available;
  // Errors the page handles silently go here, for the log.
  std::function<void(std::string_view problem)> log = [](std::string_view) {};
};

class TDefaultVoicePage final : public TOptionsPage,
                                public reading::DefaultVoice,
                                public corrections::PronunciationVoice,
                                public voice_slots::SlotVoices {
  Q_OBJECT
 public:
  explicit TDefaultVoicePage(DefaultVoiceServices services);

  // The catalogue: legacy engine modes first, then the modern voices; the first modern voice
  // is selected and applied.
  void LoadLists() override { LoadVoicesList(); }
  void LoadVoicesList();
  // The sliders and the saved voice; the voice is selected without being applied.
  void LoadCfg(IniFile& cfg) override;
  void SaveCfg(IniFile& cfg) override;

  // Applies the entry at newIndex to its engine and to the sliders; oldIndex is not used.
  void VoicesListChange(int oldIndex, int newIndex);
  void VoicesListClick();
  void VoicesListEnter();
  void VoicesListKeyDown(int key, Qt::KeyboardModifiers shift);
  // Readies the engine of the selected entry with the tab's slider values; speaks nothing.
  // Errors reach the caller.
  void SelectDefaultVoice() override;
  void btnTestVoiceClick();
  // The corrections list's trial of a pronunciation: the default voice with this page's values,
  // on the engines a reading uses.
  void SpeakPronunciation(TextView text, bool interrupt) override;

  // Read-out handlers of the three sliders.
  void Speed_BarChange();
  void Pitch_BarChange();
  void Volume_BarChange();

  // Catalogue queries. An index is a row of VoicesList; -1 stands for no entry.
  // The number of legacy engine modes: the catalogue's first entries are theirs.
  int Sapi4EngineCount() const { return static_cast<int>(s_.sapi4.Engines().size()); }
  int SelectedVoiceIndex() const override;
  speech::CatalogueEntry VoiceEntry(int index) const;  // the index rule; throws for -1
  Text VoiceDisplayName(int index) const;
  // The first entry with this display name, letter case ignored; -1 when there is none.
  int VoiceIndexOfName(TextView displayName) const override;
  // A selection the program makes: the voice is not applied.
  void SelectVoiceQuietly(int index);
  // The catalogue and the test text as the slot editor copies them.
  std::vector<Text> VoiceNames() const override;
  Text TestText() const override;

  // Whether the sliders show the modern scale (steps -10..10 read out as 30..330).
  bool Sapi5Scales() const { return sapi5Scales_; }
  // Set by a tab change, cleared by a click on the list: while set, VoicesListChange does
  // nothing, so the values the settings gave the sliders stay until the user picks a voice.
  bool VoiceChangeSuppressed = false;

 private:
  void LoadSliders(IniFile& cfg, int savedVoice);
  int SavedVoiceIndex(IniFile& cfg) const;
  void ApplyVoice(int index);
  void UseSapi4Scales(int index);
  void UseSapi5Scales();
  void ShowReadouts();

  DefaultVoiceServices s_;
  bool sapi5Scales_ = false;

  QListWidget* VoicesList;
  QSlider* Speed_Bar;
  QSlider* Pitch_Bar;
  QSlider* Volume_Bar;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QLineEdit* editTestText;
  QPushButton* btnTestVoice;
};

}  // namespace parlino::app
