// The "Default voice" tab: the voice catalogue, the default voice, its sliders and the test.
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/settings/ini_file.h"
#include "app/ui/event_dispatch.h"
#include "app/ui/event_hook.h"
#include "app/ui/frm_main.h"
#include "app/ui/qt_text.h"
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

void TfrmMain::CreateSpeechSheet() {
  VoicesList = new QListWidget;
  VoicesList->setObjectName("VoicesList");
  VoicesList->setSelectionMode(QAbstractItemView::SingleSelection);
  VoicesList->setWordWrap(true);
  VoicesList->setMouseTracking(true);

  auto* properties = new QGroupBox("Voice properties");
  auto* grid = new QGridLayout(properties);
  const auto addSlider = [&](QSlider*& slider, QLineEdit*& readout, const char* caption,
                             int minimum, int maximum, int row) {
    slider = new QSlider(Qt::Horizontal);
    slider->setRange(minimum, maximum);
    slider->setValue(minimum);
    readout = new QLineEdit("0");
    readout->setReadOnly(true);
    readout->setMaxLength(3);  // limits typing only: engine values may be longer
    readout->setFixedWidth(48);
    grid->addWidget(new QLabel(caption), row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(readout, row, 2);
  };
  addSlider(Speed_Bar, Edit1, "Speed of reading:", 60, 280, 0);
  addSlider(Pitch_Bar, Edit2, "Pitch of voice:", 30, 240, 1);
  addSlider(Volume_Bar, Edit3, "Volume of reading:", 0, 100, 2);
  connect(Speed_Bar, &QSlider::valueChanged, this, [this] { Speed_BarChange(); });
  connect(Pitch_Bar, &QSlider::valueChanged, this, [this] { Pitch_BarChange(); });
  connect(Volume_Bar, &QSlider::valueChanged, this, [this] { Volume_BarChange(); });

  editTestText = new QLineEdit(ToQString(kDefaultTestText));
  btnTestVoice = new QPushButton("&Test");
  connect(btnTestVoice, &QPushButton::clicked, this,
          [this] { DispatchEvent(context_.boxes, [this] { btnTestVoiceClick(); }); });
  auto* test = new QHBoxLayout;
  test->addWidget(editTestText);
  test->addWidget(btnTestVoice);

  // Selections the program makes block the list's signals, so this sees the user's only.
  connect(VoicesList, &QListWidget::currentItemChanged, this,
          [this](QListWidgetItem* current, QListWidgetItem* previous) {
            DispatchEvent(context_.boxes, [&] {
              VoicesListChange(VoicesList->row(previous), VoicesList->row(current));
            });
          });
  connect(VoicesList, &QListWidget::clicked, this,
          [this] { DispatchEvent(context_.boxes, [this] { VoicesListClick(); }); });
  new EventHook(VoicesList, [this](QEvent& event) {
    if (event.type() == QEvent::FocusIn) {
      // Focus coming back with the window is no entering of the list.
      const Qt::FocusReason reason = static_cast<QFocusEvent&>(event).reason();
      if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
      DispatchEvent(context_.boxes, [this] { VoicesListEnter(); });
    } else if (event.type() == QEvent::KeyPress) {
      const auto& key = static_cast<QKeyEvent&>(event);
      DispatchEvent(context_.boxes, [&] { VoicesListKeyDown(key.key(), key.modifiers()); });
    }
  });

  auto* layout = new QVBoxLayout(Speech_Sheet);
  layout->addWidget(new QLabel("Please, configure default voice:"));
  layout->addWidget(VoicesList, 1);
  layout->addWidget(properties);
  layout->addLayout(test);
}

int TfrmMain::SelectedVoiceIndex() const {
  return VoicesList->currentRow();
}

speech::CatalogueEntry TfrmMain::VoiceEntry(int index) const {
  return speech::EntryAt(index, Sapi4EngineCount());
}

Text TfrmMain::VoiceDisplayName(int index) const {
  const QListWidgetItem* item = VoicesList->item(index);
  return item != nullptr ? FromQString(item->text()) : Text();
}

int TfrmMain::VoiceIndexOfName(TextView displayName) const {
  const QString wanted = ToQString(displayName);
  for (int row = 0; row < VoicesList->count(); ++row) {
    if (VoicesList->item(row)->text().compare(wanted, Qt::CaseInsensitive) == 0) return row;
  }
  return -1;
}

void TfrmMain::SelectVoiceQuietly(int index) {
  const QSignalBlocker blocker(VoicesList);
  VoicesList->setCurrentRow(index);
}

void TfrmMain::LoadVoicesList() {
  {
    const QSignalBlocker blocker(VoicesList);
    VoicesList->clear();
  }
  QStringList legacy;
  for (const Text& mode : SpeechAPI4.Engines()) {
    // A mode that cannot be selected keeps its mode name, silently.
    std::optional<Text> speaker;
    try {
      SpeechAPI4.SelectEngine(mode);
      if (SpeechAPI4.Selected()) speaker = SpeechAPI4.Speaker();
    } catch (const std::exception&) {
    }
    legacy.append(ToQString(speech::Sapi4DisplayName(mode, speaker)));
  }
  VoicesList->addItems(legacy);

  if (Sapi5Available) {
    // A failing voice list ends the build here; the entries placed so far stay.
    const auto voices = SpeechAPI5.GetVoices(u"", u"");
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

void TfrmMain::VoicesListChange(int /*oldIndex*/, int newIndex) {
  if (VoiceChangeSuppressed || VoicesList->count() == 0) return;
  if (SelectedVoiceIndex() < 0 || newIndex < 0) {
    SelectVoiceQuietly(0);
    newIndex = 0;
  }
  ApplyVoice(newIndex);
}

void TfrmMain::VoicesListClick() {
  VoiceChangeSuppressed = false;
  VoicesListChange(SelectedVoiceIndex(), SelectedVoiceIndex());
}

void TfrmMain::VoicesListEnter() {
  VoicesListChange(SelectedVoiceIndex(), SelectedVoiceIndex());
}

void TfrmMain::VoicesListKeyDown(int key, Qt::KeyboardModifiers shift) {
  const Qt::KeyboardModifiers held =
      shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (key == Qt::Key_F1 && held == (Qt::ControlModifier | Qt::AltModifier)) {
    // Which legacy engine answers: a support aid.
    context_.boxes.Show(platform::BoxKind::Plain, u"Parlino!", SpeechAPI4.EngineID(),
                        platform::BoxButtons::Ok);
  }
}

void TfrmMain::ApplyVoice(int index) {
  if (VoiceEntry(index).generation == VoiceGeneration::Sapi4) {
    UseSapi4Scales(index);
    Speed_Bar->setValue(speech::SliderUnits(SpeechAPI4.GetSpeed()));
    Pitch_Bar->setValue(SpeechAPI4.GetPitch());
    Volume_Bar->setValue(SpeechAPI4.GetVolume());
  } else {
    UseSapi5Scales();
    SpeechAPI5.SetRate(speech::kSapi5InitialRate);
    SpeechAPI5.SetVolume(speech::kSapi5InitialVolume);
    Speed_Bar->setValue(speech::kSapi5InitialSpeed);
    Pitch_Bar->setValue(speech::kSapi5InitialPitch);
    Volume_Bar->setValue(speech::kSapi5InitialVolume);
  }
  // A position that happens to stay the same still has to be shown on the new scale.
  ShowReadouts();
}

void TfrmMain::UseSapi4Scales(int index) {
  Sapi5Scales = false;
  const auto mode = static_cast<std::size_t>(VoiceEntry(index).position);
  SpeechAPI4.SelectEngine(SpeechAPI4.Engines().at(mode));
  Speed_Bar->setRange(speech::SliderUnits(SpeechAPI4.MinSpeed()),
                      speech::SliderUnits(SpeechAPI4.MaxSpeed()));
  Pitch_Bar->setRange(SpeechAPI4.MinPitch(), SpeechAPI4.MaxPitch());
  Volume_Bar->setRange(SpeechAPI4.MinVolume(), SpeechAPI4.MaxVolume());
}

void TfrmMain::UseSapi5Scales() {
  Sapi5Scales = true;
  Speed_Bar->setRange(speech::kSapi5MinStep, speech::kSapi5MaxStep);
  Pitch_Bar->setRange(speech::kSapi5MinStep, speech::kSapi5MaxStep);
  Volume_Bar->setRange(speech::kMinVolume, speech::kMaxVolume);
}

void TfrmMain::SelectDefaultVoice() {
  const int selected = SelectedVoiceIndex();
  const speech::CatalogueEntry entry = VoiceEntry(selected);
  std::int32_t pitch = Pitch_Bar->value();
  if (pitch == 0) pitch = ReadoutInteger(Edit2);
  const std::int32_t volume = speech::VolumeToSend(Volume_Bar->value(), ReadoutInteger(Edit3));

  if (entry.generation == VoiceGeneration::Sapi4) {
    // Every selection makes a fresh engine instance.
    SpeechAPI4.SelectEngine(SpeechAPI4.Engines().at(static_cast<std::size_t>(entry.position)));
    std::uint32_t speed = static_cast<std::uint32_t>(Speed_Bar->value());
    if (speed == 0) speed = speech::Sapi4HalfSpan(SpeechAPI4.MinSpeed(), SpeechAPI4.MaxSpeed());
    if (pitch == 0) {
      pitch = static_cast<std::int32_t>(
          speech::Sapi4HalfSpan(SpeechAPI4.MinPitch(), SpeechAPI4.MaxPitch()));
    }
    SpeechAPI4.SetSpeed(speed);
    SpeechAPI4.SetPitch(static_cast<std::uint16_t>(pitch & 0xFFFF));
    SpeechAPI4.SetVolume(volume);
  } else {
    // The modern pitch travels as markup in the text each caller speaks.
    SpeechAPI5.SetVoice(SpeechAPI5.GetVoices(u"", u"")->Item(entry.position));
    SpeechAPI5.SetRate(Speed_Bar->value());
    SpeechAPI5.SetVolume(volume);
  }
}

void TfrmMain::btnTestVoiceClick() {
  Text text = Trim(FromQString(editTestText->text()));
  if (text.empty()) text = kDefaultTestText;
  SelectDefaultVoice();
  if (VoiceEntry(SelectedVoiceIndex()).generation == VoiceGeneration::Sapi4) {
    SpeechAPI4.Text.clear();
    SpeechAPI4.Text.push_back(speech::ToAnsiText(context_.codePage, text));
    SpeechAPI4.Speak();
  } else {
    SpeechAPI5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);  // cut off what it is saying
    SpeechAPI5.Speak(speech::PitchPrefix(Pitch_Bar->value()) + text, platform::kSpeakAsync);
  }
}

void TfrmMain::Speed_BarChange() {
  Edit1->setText(QString::number(speech::Readout(Speed_Bar->value(), Sapi5Scales)));
}

void TfrmMain::Pitch_BarChange() {
  Edit2->setText(QString::number(speech::Readout(Pitch_Bar->value(), Sapi5Scales)));
}

void TfrmMain::Volume_BarChange() {
  Edit3->setText(QString::number(Volume_Bar->value()));
}

void TfrmMain::ShowReadouts() {
  Speed_BarChange();
  Pitch_BarChange();
  Volume_BarChange();
}

}  // namespace parlino::app
