#include "corrections/frm_word.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include "app/ui/widgets/button_pictures.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/event_hook.h"
#include "app/ui/widgets/qt_text.h"
#include "corrections/correction_rules.h"

namespace parlino::corrections {
namespace {

using app::FromQString;
using app::ToQString;

constexpr int kCancelled = -1;

QLabel* HiddenPicture(app::ButtonPicture picture, const char* name, QWidget* parent) {
  auto* image = new QLabel(parent);
  image->setObjectName(name);
  image->setPixmap(app::ButtonIcon(picture).pixmap(16, 16));
  image->setVisible(false);
  return image;
}

}  // namespace

TfrmWord::TfrmWord(WordEditorServices services, QWidget* parent) : QDialog(parent), s_(services) {
  setObjectName("frmWord");
  setWindowTitle(ToQString(kEditorCaption));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);

  Label1 = new QLabel("Word to correct");
  Edit1 = new QLineEdit;
  Label2 = new QLabel("Pronounce as");
  Edit2 = new QLineEdit;
  CheckBox1 = new QCheckBox("&Case sensitive");
  Action_Button = new QPushButton("&OK");
  Action_Button->setDefault(true);  // Enter in either field presses it
  Action_Button->setFixedWidth(100);
  Button1 = new QPushButton("&Test");
  Cancel_Button = new QPushButton("&Cancel");
  HyperLabel2 = new QLabel("How to correct pronunciation of words");
  Image1 = HiddenPicture(app::ButtonPicture::Add, "Image1", this);
  Image2 = HiddenPicture(app::ButtonPicture::Edit, "Image2", this);

  QFont link = HyperLabel2->font();
  link.setBold(true);
  link.setUnderline(true);
  HyperLabel2->setFont(link);
  HyperLabel2->setAlignment(Qt::AlignCenter);
  HyperLabel2->setCursor(Qt::PointingHandCursor);
  HyperLabel2->setForegroundRole(QPalette::Link);

  const std::pair<QWidget*, const char*> names[] = {
      {Label1, "Label1"},          {Edit1, "Edit1"},
      {Label2, "Label2"},          {Edit2, "Edit2"},
      {CheckBox1, "CheckBox1"},    {Action_Button, "Action_Button"},
      {Button1, "Button1"},        {Cancel_Button, "Cancel_Button"},
      {HyperLabel2, "HyperLabel2"}};
  for (const auto& [widget, name] : names) widget->setObjectName(name);
  Label1->setBuddy(Edit1);
  Label2->setBuddy(Edit2);

  auto* fields = new QGridLayout;
  fields->addWidget(Label1, 0, 0);
  fields->addWidget(Edit1, 0, 1);
  fields->addWidget(Label2, 1, 0);
  fields->addWidget(Edit2, 1, 1);
  fields->addWidget(CheckBox1, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Action_Button);
  buttons->addWidget(Button1);
  buttons->addWidget(Cancel_Button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addWidget(HyperLabel2);

  connect(Action_Button, &QPushButton::clicked, this,
          [this] { app::DispatchEvent(s_.boxes, [this] { Action_ButtonClick(); }); });
  connect(Button1, &QPushButton::clicked, this,
          [this] { app::DispatchEvent(s_.boxes, [this] { Button1Click(); }); });
  connect(Cancel_Button, &QPushButton::clicked, this, [this] { Cancel_ButtonClick(); });
  new app::EventHook(HyperLabel2, [this](QEvent& event) {
    if (event.type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent&>(event).button() == Qt::LeftButton) {
      HyperLabel2Click();
    }
  });
  connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, this,
          [this] { HyperLabel2Click(); });

  // Fixed border: the classic 278 x 133 client area, or what the content needs.
  setFixedSize(sizeHint().expandedTo(QSize(278, 133)));
}

void TfrmWord::PrepareAdd() {
  Prepare(QIcon(Image1->pixmap()), kAddWordCaption, {});
}

void TfrmWord::PrepareEdit(std::size_t row, const Correction& correction) {
  Prepare(QIcon(Image2->pixmap()), kSaveChangesCaption, correction);
  tag_ = row;
}

void TfrmWord::Prepare(const QIcon& icon, TextView action, const Correction& fields) {
  setWindowTitle(ToQString(kEditorCaption));
  setWindowIcon(icon);
  Action_Button->setText(ToQString(action));
  Edit1->setText(ToQString(fields.word));
  Edit2->setText(ToQString(fields.pronunciation));
  CheckBox1->setChecked(fields.caseMark == u"Yes");
}

bool TfrmWord::AddMode() const {
  return FromQString(Action_Button->text()) == kAddWordCaption;
}

void TfrmWord::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Edit1->setFocus();
}

void TfrmWord::Action_ButtonClick() {
  const Text word = FromQString(Edit1->text());
  const Text pronunciation = FromQString(Edit2->text());
  const bool addMode = AddMode();
  if (const auto message = CheckCorrection(word, pronunciation, addMode, s_.list.Rows())) {
    s_.boxes.Show(platform::BoxKind::Information, u"Parlino!", *message, platform::BoxButtons::Ok);
    return;
  }
  Correction row = MakeCorrection(word, pronunciation, CheckBox1->isChecked());
  if (addMode) {
    s_.list.AppendRow(std::move(row));
  } else {
    s_.list.ChangeRow(tag_, std::move(row));
  }
  // A failed save leaves the row in the list and the dialog open, with the error shown.
  s_.list.SaveWords();
  accept();
}

void TfrmWord::Cancel_ButtonClick() {
  done(kCancelled);
}

void TfrmWord::reject() {
  done(kCancelled);
}

void TfrmWord::Button1Click() {
  s_.voice.SpeakPronunciation(FromQString(Edit2->text()), false);
}

void TfrmWord::HyperLabel2Click() {
  s_.shell.Open(s_.helpFile);
}

}  // namespace parlino::corrections
