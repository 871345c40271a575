#include "app/ui/pages/default_voice_page.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/settings/cfg_file.h"
#include "app/settings/ini_file.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/event_hook.h"
#include "app/ui/widgets/qt_text.h"
#include "speech/catalogue/value_scales.h"
#include "speech/sapi4/ansi_text.h"

namespace parlino::app {
namespace {

using speech::VoiceGeneration;

constexpr TextView kDefaultTestText = u"This is a test for selected voice.";

// The integer a read-out shows; 0 for anything else.
std::int32_t ReadoutInteger(const QLineEdit* readout) {
  return ParseInteger(FromQString(readout->text())).value_or(0);
}

}  // namespace

TDefaultVoicePage::TDefaultVoicePage(DefaultVoiceServices services) : s_(services) {
  setObjectName("Speech_Sheet");
  VoicesList = new QListWidget;
  VoicesList->setObjectName("VoicesList");
  VoicesList->setSelectionMode(QAbstractItemView::SingleSelection);
  VoicesList->setWordWrap(true);
  VoicesList->setMouseTracking(true);

  auto* properties = new QGroupBox("Voice properties");
  auto* grid = new QGridLayout(properties);
  const auto addSlider = [&](QSlider*& slider, QLineEdit*& readout, const char* sliderName,
                             const char* readoutName, const char* caption, int minimum, int maximum,
                             int row) {
    slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(sliderName);
    slider->setRange(minimum, maximum);
    slider->setValue(minimum);
    readout = new QLineEdit("0");
    readout->setObjectName(readoutName);
    readout->setReadOnly(true);
    // Typing is limited to three characters; the values the program shows (a legacy engine's
    // speed of 1500, say) are never cut.
    readout->setValidator(new QRegularExpressionValidator(QRegularExpression(".{0,3}"), readout));
    readout->setFixedWidth(48);
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(readout, row, 2);
  };
  addSlider(Speed_Bar, Edit1, "Speed_Bar", "Edit1", "Speed of reading:", 60, 280, 0);
  addSlider(Pitch_Bar, Edit2, "Pitch_Bar", "Edit2", "Pitch of voice:", 30, 240, 1);
  addSlider(Volume_Bar, Edit3, "Volume_Bar", "Edit3", "Volume of reading:", 0, 100, 2);
  connect(Speed_Bar, &QSlider::valueChanged, this, [this] { Speed_BarChange(); });
  connect(Pitch_Bar, &QSlider::valueChanged, this, [this] { Pitch_BarChange(); });
  connect(Volume_Bar, &QSlider::valueChanged, this, [this] { Volume_BarChange(); });

  editTestText = new QLineEdit(ToQString(kDefaultTestText));
  editTestText->setObjectName("editTestText");
  btnTestVoice = new QPushButton("&Test");
  btnTestVoice->setObjectName("btnTestVoice");
  connect(btnTestVoice, &QPushButton::clicked, this,
          [this] { DispatchEvent(s_.boxes, [this] { btnTestVoiceClick(); }); });
  auto* test = new QHBoxLayout;
  test->addWidget(editTestText);
  test->addWidget(btnTestVoice);

  // Selections the program makes block the list's signals, so this sees the user's only.
  connect(VoicesList, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* current, QListWidgetItem* previous) {
            DispatchEvent(s_.boxes, [&] {
              VoicesListChange(VoicesList->row(previous), VoicesList->row(current));
            });
          });
  connect(VoicesList, &QListWidget::clicked, this,
          [this] { DispatchEvent(s_.boxes, [this] { VoicesListClick(); }); });
  new EventHook(VoicesList, [this](QEvent& event) {
    if (event.type() == QEvent::FocusIn) {
      // Focus coming back with the window is no entering of the list.
      const Qt::FocusReason reason = static_cast<QFocusEvent&>(event).reason();
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
      DispatchEvent(s_.boxes, [this] { VoicesListEnter(); });
    } else if (event.type() == QEvent::KeyPress) {
      const auto& key = static_cast<QKeyEvent&>(event);
      DispatchEvent(s_.boxes, [&] { VoicesListKeyDown(key.key(), key.modifiers()); });
    }
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Please, configure default voice:"));
  layout->addWidget(VoicesList, 1);
  layout->addWidget(properties);
  layout->addLayout(test);
}

int TDefaultVoicePage::SelectedVoiceIndex() const {
  return VoicesList->currentRow();
}

speech::CatalogueEntry TDefaultVoicePage::VoiceEntry(int index) const {
  return speech::EntryAt(index, Sapi4EngineCount());
}

Text TDefaultVoicePage::VoiceDisplayName(int index) const {
  const QListWidgetItem* item = VoicesList->item(index);
  return item != nullptr ? FromQString(item->text()) : Text();
}

int TDefaultVoicePage::VoiceIndexOfName(TextView displayName) const {
  const QString wanted = ToQString(displayName);
  for (int row = 0; row < VoicesList->count(); ++row) {
    if (VoicesList->item(row)->text().compare(wanted, Qt::CaseInsensitive) == 0) return row;
  }
  return -1;
}

std::vector<Text> TDefaultVoicePage::VoiceNames() const {
  std::vector<Text> names;
  for (int row = 0; row < VoicesList->count(); ++row) {
    names.push_back(FromQString(VoicesList->item(row)->text()));
  }
  return names;
}

Text TDefaultVoicePage::TestText() const {
  return FromQString(editTestText->text());
}

void TDefaultVoicePage::SelectVoiceQuietly(int index) {
  const QSignalBlocker blocker(VoicesList);
  VoicesList->setCurrentRow(index);
}

void TDefaultVoicePage::LoadVoicesList() {
  {
    const QSignalBlocker blocker(VoicesList);
    VoicesList->clear();
  }
  QStringList legacy;
  for (const Text& mode : s_.sapi4.Engines()) {
    // A mode that cannot be selected keeps its mode name, silently.
    std::optional<Text> speaker;
    try {
      s_.sapi4.SelectEngine(mode);
      if (s_.sapi4.Selected()) speaker = s_.sapi4.Speaker();
    } catch (const std::exception& error) {
      s_.log(std::string("Voice not selected: ") + error.what());
    }
    legacy.append(ToQString(speech::Sapi4DisplayName(mode, speaker)));
  }
  VoicesList->addItems(legacy);

  if (s_.sapi5Available) {
    // A failing voice list ends the build here; the entries placed so far stay.
    const auto voices = s_.sapi5.GetVoices(u"", u"");
    for (std::int32_t position = 0; position < voices->Count(); ++position) {
      VoicesList->addItem(
          ToQString(speech::Sapi5DisplayName(voices->Item(position)->GetDescription(0))));
    }
  }

  // The first modern voice when there is one, else the first entry.
  const int initial = VoicesList->count() > Sapi4EngineCount() ? Sapi4EngineCount() : 0;
  SelectVoiceQuietly(initial);
  VoicesListChange(initial, initial);
}

void TDefaultVoicePage::VoicesListChange(int /*oldIndex*/, int newIndex) {
  if (VoiceChangeSuppressed || VoicesList->count() == 0) return;
  if (SelectedVoiceIndex() < 0 || newIndex < 0) {
    SelectVoiceQuietly(0);
    newIndex = 0;
  }
  ApplyVoice(newIndex);
}

void TDefaultVoicePage::VoicesListClick() {
  VoiceChangeSuppressed = false;
  VoicesListChange(SelectedVoiceIndex(), SelectedVoiceIndex());
}

void TDefaultVoicePage::VoicesListEnter() {
  VoicesListChange(SelectedVoiceIndex(), SelectedVoiceIndex());
}

void TDefaultVoicePage::VoicesListKeyDown(int key, Qt::KeyboardModifiers shift) {
  const Qt::KeyboardModifiers held =
      shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (key == Qt::Key_F1 && held == (Qt::ControlModifier | Qt::AltModifier)) {
    // Which legacy engine answers: a support aid.
    s_.boxes.Show(platform::BoxKind::Plain, u"Parlino!", s_.sapi4.EngineID(),
                  platform::BoxButtons::Ok);
  }
}

void TDefaultVoicePage::ApplyVoice(int index) {
  if (VoiceEntry(index).generation == VoiceGeneration::Sapi4) {
    UseSapi4Scales(index);
    Speed_Bar->setValue(speech::SliderUnits(s_.sapi4.GetSpeed()));
    Pitch_Bar->setValue(s_.sapi4.GetPitch());
    Volume_Bar->setValue(s_.sapi4.GetVolume());
  } else {
    UseSapi5Scales();
    s_.sapi5.SetRate(speech::kSapi5InitialRate);
    s_.sapi5.SetVolume(speech::kSapi5InitialVolume);
    Speed_Bar->setValue(speech::kSapi5InitialSpeed);
    Pitch_Bar->setValue(speech::kSapi5InitialPitch);
    Volume_Bar->setValue(speech::kSapi5InitialVolume);
  }
  // A position that happens to stay the same still has to be shown on the new scale.
  ShowReadouts();
}

void TDefaultVoicePage::UseSapi4Scales(int index) {
  sapi5Scales_ = false;
  const auto mode = static_cast<std::size_t>(VoiceEntry(index).position);
  s_.sapi4.SelectEngine(s_.sapi4.Engines().at(mode));
  Speed_Bar->setRange(speech::SliderUnits(s_.sapi4.MinSpeed()),
                      speech::SliderUnits(s_.sapi4.MaxSpeed()));
  Pitch_Bar->setRange(s_.sapi4.MinPitch(), s_.sapi4.MaxPitch());
  Volume_Bar->setRange(s_.sapi4.MinVolume(), s_.sapi4.MaxVolume());
}

void TDefaultVoicePage::UseSapi5Scales() {
  sapi5Scales_ = true;
  Speed_Bar->setRange(speech::kSapi5MinStep, speech::kSapi5MaxStep);
  Pitch_Bar->setRange(speech::kSapi5MinStep, speech::kSapi5MaxStep);
  Volume_Bar->setRange(speech::kMinVolume, speech::kMaxVolume);
}

void TDefaultVoicePage::SelectDefaultVoice() {
  const int selected = SelectedVoiceIndex();
  const speech::CatalogueEntry entry = VoiceEntry(selected);
  std::int32_t pitch = Pitch_Bar->value();
  if (pitch == 0) pitch = ReadoutInteger(Edit2);
  const std::int32_t volume = speech::VolumeToSend(Volume_Bar->value(), ReadoutInteger(Edit3));

  if (entry.generation == VoiceGeneration::Sapi4) {
    // Every selection makes a fresh engine instance.
    s_.sapi4.SelectEngine(s_.sapi4.Engines().at(static_cast<std::size_t>(entry.position)));
    std::uint32_t speed = static_cast<std::uint32_t>(Speed_Bar->value());
    if (speed == 0) speed = speech::Sapi4HalfSpan(s_.sapi4.MinSpeed(), s_.sapi4.MaxSpeed());
    if (pitch == 0) {
      pitch = static_cast<std::int32_t>(
          speech::Sapi4HalfSpan(s_.sapi4.MinPitch(), s_.sapi4.MaxPitch()));
    }
    s_.sapi4.SetSpeed(speed);
    s_.sapi4.SetPitch(static_cast<std::uint16_t>(pitch & 0xFFFF));
    s_.sapi4.SetVolume(volume);
  } else {
    // The modern pitch travels as markup in the text each caller speaks.
    s_.sapi5.SetVoice(s_.sapi5.GetVoices(u"", u"")->Item(entry.position));
    s_.sapi5.SetRate(Speed_Bar->value());
    s_.sapi5.SetVolume(volume);
  }
}

void TDefaultVoicePage::btnTestVoiceClick() {
  Text text = Trim(FromQString(editTestText->text()));
  if (text.empty()) text = kDefaultTestText;
  SelectDefaultVoice();
  if (VoiceEntry(SelectedVoiceIndex()).generation == VoiceGeneration::Sapi4) {
    s_.sapi4.Text.clear();
    s_.sapi4.Text.push_back(speech::ToAnsiText(s_.codePage, text));
    s_.sapi4.Speak();
  } else {
    s_.sapi5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);  // cut off what it is saying
    s_.sapi5.Speak(speech::PitchPrefix(Pitch_Bar->value()) + text, platform::kSpeakAsync);
  }
}

void TDefaultVoicePage::SpeakPronunciation(TextView text, bool interrupt) {
  SelectDefaultVoice();
  if (VoiceEntry(SelectedVoiceIndex()).generation == VoiceGeneration::Sapi4) {
    if (interrupt) s_.sapi4.Stop();
    s_.sapi4.Text = {speech::ToAnsiText(s_.codePage, text)};
    s_.sapi4.Speak();
  } else {
    if (interrupt) {
      s_.sapi5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);
      s_.sapi5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);
    }
    s_.sapi5.Speak(speech::PitchPrefix(Pitch_Bar->value()) + Text(text), platform::kSpeakAsync);
  }
}

void TDefaultVoicePage::Speed_BarChange() {
  Edit1->setText(QString::number(speech::Readout(Speed_Bar->value(), sapi5Scales_)));
}

void TDefaultVoicePage::Pitch_BarChange() {
  Edit2->setText(QString::number(speech::Readout(Pitch_Bar->value(), sapi5Scales_)));
}

void TDefaultVoicePage::Volume_BarChange() {
  Edit3->setText(QString::number(Volume_Bar->value()));
}

void TDefaultVoicePage::ShowReadouts() {
  Speed_BarChange();
  Pitch_BarChange();
  Volume_BarChange();
}

}  // namespace parlino::app
