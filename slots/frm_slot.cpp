#include "slots/frm_slot.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "app/ui/widgets/button_pictures.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/event_hook.h"
#include "app/ui/widgets/hot_key_edit.h"
#include "app/ui/widgets/qt_text.h"
#include "slots/voice_list_look.h"
#include "speech/catalogue/value_scales.h"
#include "speech/catalogue/voice_catalogue.h"
#include "speech/sapi4/ansi_text.h"

namespace parlino::voice_slots {
namespace {

using app::FromQString;
using app::ToQString;

QLabel* HiddenPicture(app::ButtonPicture picture, const char* name, QWidget* parent) {
  auto* image = new QLabel(parent);
  image->setObjectName(name);
  image->setPixmap(app::ButtonIcon(picture).pixmap(16, 16));
  image->setVisible(false);
  return image;
}

// Runs at the end of the scope, however it is left.
template <typename F>
class AtExit {
 public:
  explicit AtExit(F f) : f_(std::move(f)) {}
  ~AtExit() { f_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  F f_;
};

}  // namespace

TfrmSlot::TfrmSlot(SlotEditorServices services, QWidget* parent)
    : QDialog(parent), s_(services), SpeechAPI4(services.legacyEngines, services.codePage) {
  setObjectName("frmSlot");
  setWindowTitle(ToQString(kAddCaption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);
  CreateControls();
  LayOut();
  Connect();
  // Fixed border: the classic 252 x 388 client area, or what the content needs.
  setFixedSize(sizeHint().expandedTo(QSize(252, 388)));
}

TfrmSlot::~TfrmSlot() = default;

void TfrmSlot::CreateControls() {
  GroupBox2 = new QGroupBox("Slot properties");
  Label1 = new QLabel("Please, choose the voice for slot:");
  VoicesList = new QListWidget;
  VoicesList->setSelectionMode(QAbstractItemView::SingleSelection);
  DressVoiceList(*VoicesList);
  Label2 = new QLabel("Slot's hot key");
  Slot_HotKey = new app::THotKeyEdit;
  GroupBox1 = new QGroupBox("Voice properties");

  const auto readout = [] {
    auto* edit = new QLineEdit("0");
    edit->setReadOnly(true);
    edit->setFixedWidth(40);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
  };
  Label3 = new QLabel("Speed of reading:");
  Speed_Bar = new QSlider(Qt::Horizontal);
  Speed_Bar->setTickPosition(QSlider::NoTicks);
  Edit1 = readout();
  Label4 = new QLabel("Pitch of voice:");
  Pitch_Bar = new QSlider(Qt::Horizontal);
  Edit2 = readout();
  Label5 = new QLabel("Volume of reading:");
  Volume_Bar = new QSlider(Qt::Horizontal);
  Volume_Bar->setRange(speech::kMinVolume, speech::kMaxVolume);
  Edit3 = readout();

  Image1 = HiddenPicture(app::ButtonPicture::Add, "Image1", this);
  Image2 = HiddenPicture(app::ButtonPicture::Edit, "Image2", this);
  Action_Button = new QPushButton(ToQString(u"&Add slot"));
  QFont bold = Action_Button->font();
  bold.setBold(true);
  Action_Button->setFont(bold);
  Action_Button->setDefault(true);
  Button1 = new QPushButton("&Test voice");
  Cancel_Button = new QPushButton("&Cancel");

  const std::pair<QWidget*, const char*> names[] = {{GroupBox2, "GroupBox2"},
                                                    {Label1, "Label1"},
                                                    {VoicesList, "VoicesList"},
                                                    {Label2, "Label2"},
                                                    {Slot_HotKey, "Slot_HotKey"},
                                                    {GroupBox1, "GroupBox1"},
                                                    {Label3, "Label3"},
                                                    {Speed_Bar, "Speed_Bar"},
                                                    {Edit1, "Edit1"},
                                                    {Label4, "Label4"},
                                                    {Pitch_Bar, "Pitch_Bar"},
                                                    {Edit2, "Edit2"},
                                                    {Label5, "Label5"},
                                                    {Volume_Bar, "Volume_Bar"},
                                                    {Edit3, "Edit3"},
                                                    {Action_Button, "Action_Button"},
                                                    {Button1, "Button1"},
                                                    {Cancel_Button, "Cancel_Button"}};
  for (const auto& [widget, name] : names) widget->setObjectName(name);
  Label1->setBuddy(VoicesList);
  Label2->setBuddy(Slot_HotKey);
}

void TfrmSlot::LayOut() {
  auto* slot = new QVBoxLayout(GroupBox2);
  slot->addWidget(Label1);
  slot->addWidget(VoicesList, 1);
  slot->addWidget(Label2);
  slot->addWidget(Slot_HotKey);

  auto* properties = new QGridLayout(GroupBox1);
  const auto addRow = [&](QLabel* label, QSlider* slider, QLineEdit* edit, int row) {
    properties->addWidget(label, 2 * row, 0, 1, 2);
    properties->addWidget(slider, 2 * row + 1, 0);
    properties->addWidget(edit, 2 * row + 1, 1);
  };
  addRow(Label3, Speed_Bar, Edit1, 0);
  addRow(Label4, Pitch_Bar, Edit2, 1);
  addRow(Label5, Volume_Bar, Edit3, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Action_Button, 1);
  buttons->addWidget(Button1);
  buttons->addWidget(Cancel_Button);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GroupBox2, 1);
  layout->addWidget(GroupBox1);
  layout->addLayout(buttons);

  // The voice, the hot key, the values, then the buttons from the right.
  const QWidget* order[] = {VoicesList, Slot_HotKey, Speed_Bar,     Edit1,   Pitch_Bar,    Edit2,
                            Volume_Bar, Edit3,       Cancel_Button, Button1, Action_Button};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
  }
}

void TfrmSlot::Connect() {
  // The selected voice, not the list's current row: the list makes its first row current when
  // it receives the focus without selecting it. Selections the program makes block the signal
  // where the opening says so.
  connect(VoicesList, &QListWidget::itemSelectionChanged, this, [this] {
    const int selected = SelectedVoice();
    app::DispatchEvent(s_.boxes, [&] { VoicesListChange(shownVoice_, selected); });
    shownVoice_ = selected;
  });
  connect(VoicesList, &QListWidget::clicked, this,
          [this] { app::DispatchEvent(s_.boxes, [this] { VoicesListClick(); }); });
  new app::EventHook(VoicesList, [this](QEvent& event) {
    if (event.type() != QEvent::FocusIn) return;
    // Focus coming back with the window (after a message box, say) is no entering of the list:
    // the values stay as the user left them.
    const Qt::FocusReason reason = static_cast<QFocusEvent&>(event).reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    app::DispatchEvent(s_.boxes, [this] { VoicesListEnter(); });
  });
  connect(Speed_Bar, &QSlider::valueChanged, this, [this] { Speed_BarChange(); });
  connect(Pitch_Bar, &QSlider::valueChanged, this, [this] { Pitch_BarChange(); });
  connect(Volume_Bar, &QSlider::valueChanged, this, [this] { Volume_BarChange(); });
  connect(Action_Button, &QPushButton::clicked, this,
          [this] { app::DispatchEvent(s_.boxes, [this] { Action_ButtonClick(); }); });
  connect(Button1, &QPushButton::clicked, this,
          [this] { app::DispatchEvent(s_.boxes, [this] { Button1Click(); }); });
  connect(Cancel_Button, &QPushButton::clicked, this, [this] { Cancel_ButtonClick(); });
  // Keyboard preview: the window sees every key before its controls, so that Esc cancels and F1
  // helps even in the hot key field, which would take them as a combination.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool TfrmSlot::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto& key = static_cast<QKeyEvent&>(*event);
    if (key.key() == Qt::Key_Escape || key.key() == Qt::Key_F1) {
      FormKeyDown(key.key(), key.modifiers());
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmSlot::FormKeyDown(int key, Qt::KeyboardModifiers /*shift*/) {
  if (key == Qt::Key_Escape) Cancel_ButtonClick();
  if (key == Qt::Key_F1) FormHelp();
}

int TfrmSlot::SelectedVoice() const {
  const QListWidgetItem* item = VoicesList->currentItem();
  return item != nullptr && item->isSelected() ? VoicesList->row(item) : -1;
}

int TfrmSlot::LegacyCount() const {
  return static_cast<int>(SpeechAPI4.Engines().size());
}

bool TfrmSlot::IsLegacyIndex(int index) const {
  return index >= 0 && index < LegacyCount();
}

void TfrmSlot::Prepare(const QLabel& icon, TextView caption, TextView action) {
  setWindowTitle(ToQString(caption));
  setWindowIcon(QIcon(icon.pixmap()));
  Action_Button->setText(ToQString(action));
}

void TfrmSlot::FillVoices() {
  const QSignalBlocker blocker(VoicesList);
  VoicesList->clear();
  for (const Text& name : s_.voices.VoiceNames()) VoicesList->addItem(ToQString(name));
}

void TfrmSlot::SelectVoiceQuietly(int index) {
  const QSignalBlocker blocker(VoicesList);
  VoicesList->setCurrentRow(index);
  if (index < 0) VoicesList->clearSelection();
  shownVoice_ = SelectedVoice();
}

void TfrmSlot::PrepareAdd() {
  Prepare(*Image1, kAddCaption, kAddAction);
  FillVoices();
  if (VoicesList->count() > 0) {
    SelectVoiceQuietly(0);
    VoicesListChange(-1, 0);
  }
  Slot_HotKey->SetHotKey(0);
  adding_ = true;
  editedRow_ = -1;
  VoicesList->setFocus();
}

void TfrmSlot::PrepareEdit(int row) {
  const SlotRecord& slot = s_.list.Slots().at(static_cast<std::size_t>(row));
  // Converted before anything changes: a stored text that is not a number stops the opening.
  std::optional<Positions> modern;
  if (slot.generation == speech::VoiceGeneration::Sapi5) modern = Sapi5Positions(slot);

  Prepare(*Image2, kEditCaption, kEditAction);
  FillVoices();
  const QString name = ToQString(slot.generation == speech::VoiceGeneration::Sapi5
                                     ? speech::Sapi5DisplayName(slot.voice)
                                     : slot.voice);
  int found = -1;
  for (int i = 0; i < VoicesList->count() && found < 0; ++i) {
    if (VoicesList->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) found = i;
  }
  SelectVoiceQuietly(found);
  Slot_HotKey->SetHotKey(slot.hotKey);

  if (modern) {
    slotSapi5Scales_ = true;
    UseSapi5Ranges();
    SetPositions(*modern);
    ShowStoredReadouts(slot);
  } else {
    // The voice change when the list receives the focus brings the slot's own values; until then
    // the options window's legacy engine gives them, when it has one.
    slotSapi5Scales_ = false;
    if (s_.sapi4.Selected()) {
      SetPositions(
          {speech::SliderUnits(s_.sapi4.GetSpeed()), s_.sapi4.GetPitch(), s_.sapi4.GetVolume()});
    }
    ShowReadouts();
  }
  adding_ = false;
  editedRow_ = row;
  VoicesList->setFocus();
}

void TfrmSlot::VoicesListChange(int /*oldIndex*/, int newIndex) {
  if (newIndex < 0) return;
  const std::optional<int> row = s_.list.SelectedSlot();
  const SlotRecord* slot = row ? &s_.list.Slots().at(static_cast<std::size_t>(*row)) : nullptr;

  if (!IsLegacyIndex(newIndex)) {
    // Converted first, so that a stored text that is not a number leaves the sliders alone.
    const std::optional<Positions> stored =
        slot ? std::optional<Positions>(Sapi5Positions(*slot)) : std::nullopt;
    slotSapi5Scales_ = true;
    UseSapi5Ranges();
    if (!stored) {
      SetPositions(kNewSapi5Slot);
      ShowReadouts();
      return;
    }
    SetPositions(*stored);
    ShowStoredReadouts(*slot);
    MakeVolumeAudible();
    return;
  }

  const std::optional<Positions> stored =
      slot ? std::optional<Positions>(Sapi4Positions(*slot)) : std::nullopt;
  SpeechAPI4.SelectEngine(s_.sapi4.Engines().at(static_cast<std::size_t>(newIndex)));
  // An engine that cannot be selected reports nothing: the ranges stay as they were.
  if (SpeechAPI4.Selected()) {
    Speed_Bar->setRange(speech::SliderUnits(SpeechAPI4.MinSpeed()),
                        speech::SliderUnits(SpeechAPI4.MaxSpeed()));
    Pitch_Bar->setRange(SpeechAPI4.MinPitch(), SpeechAPI4.MaxPitch());
    Volume_Bar->setRange(SpeechAPI4.MinVolume(), SpeechAPI4.MaxVolume());
  }
  Positions positions{Speed_Bar->value(), Pitch_Bar->value(), Volume_Bar->value()};
  if (stored) {
    positions = *stored;
  } else if (SpeechAPI4.Selected()) {
    positions = {speech::SliderUnits(SpeechAPI4.GetSpeed()), SpeechAPI4.GetPitch(),
                 SpeechAPI4.GetVolume()};
  }
  SetPositions(positions);
  MakeVolumeAudible();
  slotSapi5Scales_ = false;
  ShowReadouts();
}

void TfrmSlot::VoicesListClick() {
  VoicesListChange(SelectedVoice(), SelectedVoice());
}

void TfrmSlot::VoicesListEnter() {
  VoicesListChange(SelectedVoice(), SelectedVoice());
}

void TfrmSlot::UseSapi5Ranges() {
  Speed_Bar->setRange(speech::kSapi5MinStep, speech::kSapi5MaxStep);
  Pitch_Bar->setRange(speech::kSapi5MinStep, speech::kSapi5MaxStep);
  Volume_Bar->setRange(speech::kMinVolume, speech::kMaxVolume);
}

void TfrmSlot::SetPositions(const Positions& positions) {
  Speed_Bar->setValue(positions.speed);
  Pitch_Bar->setValue(positions.pitch);
  Volume_Bar->setValue(positions.volume);
}

void TfrmSlot::MakeVolumeAudible() {
  // A volume of 0 counts as unset in a voice change: the slider and its read-out go to full.
  if (Volume_Bar->value() == 0) Volume_Bar->setValue(speech::kMaxVolume);
}

void TfrmSlot::ShowStoredReadouts(const SlotRecord& slot) {
  Edit1->setText(ToQString(slot.speed));
  Edit2->setText(ToQString(slot.pitch));
  Edit3->setText(ToQString(slot.volume));
}

void TfrmSlot::ShowReadouts() {
  Speed_BarChange();
  Pitch_BarChange();
  Volume_BarChange();
}

void TfrmSlot::Speed_BarChange() {
  Edit1->setText(QString::number(speech::Readout(Speed_Bar->value(), slotSapi5Scales_)));
}

void TfrmSlot::Pitch_BarChange() {
  Edit2->setText(QString::number(speech::Readout(Pitch_Bar->value(), slotSapi5Scales_)));
}

void TfrmSlot::Volume_BarChange() {
  Edit3->setText(QString::number(Volume_Bar->value()));
}

void TfrmSlot::Action_ButtonClick() {
  const AtExit activateList([this] { s_.list.ActivateList(); });
  const int voice = SelectedVoice();
  SlotInput input;
  input.hotKey = Slot_HotKey->HotKey();
  input.adding = adding_;
  input.programHotKeys = {s_.programHotKeys.reading.HotKey(), s_.programHotKeys.options.HotKey(),
                          s_.programHotKeys.stop.HotKey()};
  for (const SlotRecord& slot : s_.list.Slots()) input.slotHotKeys.push_back(slot.hotKey);
  input.voiceSelected = voice >= 0;
  if (const auto refusal = SaveRefusal(input)) {
    s_.boxes.Show(platform::BoxKind::Warning, u"Parlino!", *refusal, platform::BoxButtons::Ok);
    return;
  }

  const std::optional<int> number = adding_ ? s_.file.FreeNumber() : std::optional(editedRow_);
  if (!number) {
    s_.boxes.Show(platform::BoxKind::Warning, u"Parlino!", kTooManySlots, platform::BoxButtons::Ok);
    return;
  }
  const speech::VoiceGeneration generation =
      IsLegacyIndex(voice) ? speech::VoiceGeneration::Sapi4 : speech::VoiceGeneration::Sapi5;
  SlotValues values;
  values.voice = speech::StoredVoiceName(FromQString(VoicesList->item(voice)->text()), generation);
  values.hotKey = input.hotKey;
  values.speed = RequireInteger(FromQString(Edit1->text()));
  values.pitch = RequireInteger(FromQString(Edit2->text()));
  values.volume = Volume_Bar->value();
  values.generation = generation;
  s_.file.Write(*number, values);
  s_.list.LoadVoiceSlots();
  accept();
}

void TfrmSlot::Button1Click() {
  const Text text = SlotTestText(s_.voices.TestText());
  const int voice = SelectedVoice();
  if (voice < 0) return;
  if (IsLegacyIndex(voice)) {
    if (SpeechAPI4.Selected()) SpeechAPI4.Stop();
    SpeechAPI4.SelectEngine(s_.sapi4.Engines().at(static_cast<std::size_t>(voice)));
    SpeechAPI4.SetSpeed(static_cast<std::uint32_t>(Speed_Bar->value()));
    SpeechAPI4.SetPitch(static_cast<std::uint16_t>(Pitch_Bar->value() & 0xFFFF));
    SpeechAPI4.SetVolume(Volume_Bar->value());
    SpeechAPI4.Text = {speech::ToAnsiText(s_.codePage, text)};
    SpeechAPI4.Speak();  // the engine's own failures end the test without a word
    return;
  }
  s_.sapi5.Connect();
  s_.sapi5.SetVoice(s_.sapi5.GetVoices(u"", u"")->Item(voice - LegacyCount()));
  s_.sapi5.SetRate(Speed_Bar->value());
  s_.sapi5.SetVolume(Volume_Bar->value());
  s_.sapi5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);  // cut off what it is saying
  s_.sapi5.Speak(SlotTestMarkup(Pitch_Bar->value(), text), platform::kSpeakAsync);
}

void TfrmSlot::Cancel_ButtonClick() {
  reject();
}

void TfrmSlot::FormHelp() {
  s_.shell.Open(s_.helpFile);
}

void TfrmSlot::done(int result) {
  if (isVisible()) s_.list.ActivateList();
  QDialog::done(result);
}

void TfrmSlot::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;  // the desktop showing it again is no opening
  SetProgramHotKeysActive(false);
  // The list has the focus as the dialog appears: the voice change runs for its voice.
  app::DispatchEvent(s_.boxes, [this] { VoicesListEnter(); });
}

void TfrmSlot::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (event->spontaneous()) return;
  SetProgramHotKeysActive(true);
}

void TfrmSlot::SetProgramHotKeysActive(bool active) {
  const int rows = static_cast<int>(s_.list.Slots().size());
  for (int i = 0; i < rows; ++i) {
    if (reading::GlobalHotKey* key = s_.slotHotKeys.Find(SlotHotKeys::Name(i))) {
      key->SetActive(active);
    }
  }
  s_.programHotKeys.reading.SetActive(active);
  s_.programHotKeys.stop.SetActive(active);
  s_.programHotKeys.options.SetActive(active);
}

}  // namespace parlino::voice_slots
