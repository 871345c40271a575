#include "app/ui/frm_welcome.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include "app/settings/cfg_file.h"
#include "app/settings/ini_file.h"
#include "app/ui/frm_main.h"
#include "app/ui/help_links.h"
#include "app/ui/pages/default_voice_page.h"
#include "app/ui/widgets/gradient.h"
#include "app/ui/widgets/hyper_label.h"
#include "app/ui/widgets/qt_text.h"
#include "platform/platform_error.h"
#include "speech/sapi4/ansi_text.h"

namespace parlino::app {
namespace {

constexpr int kWidth = 328;
constexpr int kHeight = 187;
constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kDarkBlue = 11753728;   // 0xB35900
constexpr Colour kPaleBlue = 16772838;   // 0xFFEEE6
constexpr Colour kLightBlue = 16747804;  // 0xFF8D1C

#ifdef _WIN32
constexpr const char* kAnyApplication = "any Windows application";
#else
constexpr const char* kAnyApplication = "any application";
#endif

}  // namespace

QString WelcomeText() {
  return QString(
             "Parlino can read the selected text from %1. Just select desired text, press hot "
             "key, and enjoy! Make your documents, emails, web pages, books and thoughts sound! "
             "Configure volume, speed and pitch of speech. Create Voice Slots to use different "
             "hot keys for different voices! Thank you for trying Parlino! I am sure, this "
             "program will become your best friend. Enjoy!")
      .arg(kAnyApplication);
}

QRect SnapToEdges(QRect wanted, QRect screen, int distance) {
  if (std::abs(wanted.left() - screen.left()) <= distance) {
    wanted.moveLeft(screen.left());
  } else if (std::abs(wanted.right() - screen.right()) <= distance) {
    wanted.moveRight(screen.right());
  }
  if (std::abs(wanted.top() - screen.top()) <= distance) {
    wanted.moveTop(screen.top());
  } else if (std::abs(wanted.bottom() - screen.bottom()) <= distance) {
    wanted.moveBottom(screen.bottom());
  }
  return wanted;
}

TfrmWelcome::TfrmWelcome(TfrmMain& frmMain, AppContext& context)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), frmMain_(frmMain), context_(context) {
  setObjectName("frmWelcome");
  setWindowTitle("Welcome to Parlino!");
  setFixedSize(kWidth, kHeight);

  // The gradients are the background; disabled, they leave every press to the window.
  const auto gradient = [this](const char* name, GradientStyle style, Colour begin, Colour end,
                               QRect place) {
    auto* created = new TGradient(style, begin, end, this);
    created->setObjectName(name);
    created->setGeometry(place);
    created->setEnabled(false);
    return created;
  };
  Gradient3 =
      gradient("Gradient3", GradientStyle::gsReflectedH, kDarkBlue, kWhite, {0, 0, kWidth, 8});
  Gradient1 = gradient("Gradient1", GradientStyle::gsLinearH, kPaleBlue, kWhite,
                       {0, 8, kWidth, kHeight - 8 - 27 - 8});
  Gradient4 = gradient("Gradient4", GradientStyle::gsLinearH, kWhite, kPaleBlue,
                       {0, kHeight - 8 - 27, kWidth, 27});
  Gradient2 = gradient("Gradient2", GradientStyle::gsReflectedH, kDarkBlue, kWhite,
                       {0, kHeight - 8, kWidth, 8});

  Label1 = new QLabel("Welcome to Parlino!", this);
  Label1->setObjectName("Label1");
  QFont arial("Arial");
  arial.setPixelSize(21);
  Label1->setFont(arial);
  Label1->setStyleSheet("color: black");
  Label1->setGeometry(8, 14, kWidth - 16, 26);

  Label2 = new QLabel(WelcomeText(), this);
  Label2->setObjectName("Label2");
  QFont tahoma("Tahoma");
  tahoma.setPointSize(8);
  Label2->setFont(tahoma);
  Label2->setWordWrap(true);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label2->setGeometry(8, 46, 311, 97);

  HyperLabel2 = new THyperLabel("Continue", this);
  HyperLabel2->setObjectName("HyperLabel2");
  HyperLabel2->setFont(tahoma);
  HyperLabel2->SetColorEnter(kLightBlue);
  HyperLabel2->SetColorLeave(kDarkBlue);
  HyperLabel2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  HyperLabel2->setGeometry(kWidth - 100, kHeight - 8 - 27, 90, 27);
  connect(HyperLabel2, &THyperLabel::Click, this, [this] { HyperLabel2Click(); });
}

void TfrmWelcome::FormCreate() {
  QFont bold = HyperLabel2->font();
  bold.setBold(true);
  bold.setUnderline(false);
  HyperLabel2->setFont(bold);
  if (!frmMain_.ShowWelcome) return;
  // Without any voice the start-up has said so and the program is ending: a welcome would only
  // repeat that message. It comes on the first start that has a voice.
  if (!frmMain_.Sapi4Available && !frmMain_.Sapi5Available) return;

  // A missing tutorial page is reported by the browser; the welcome goes on.
  context_.shell.Open(HelpAddress(HelpTarget::Tutorial, context_.folders.programFolder));
  if (const QScreen* screen = QApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  exec();

  try {
    IniFile cfg(context_.profiles, CfgPath(context_.folders));
    cfg.WriteBool(kGeneral, u"WelcomeDlg", true);
    cfg.Commit();
  } catch (const PlatformError& error) {
    frmMain_.ReportUnsavedSettings(error);  // the welcome then comes again at the next start
  }
  frmMain_.EndWelcomeReading();
  frmMain_.SaveCfg();
  frmMain_.LoadCfg();
  frmMain_.FormCreate();
  frmMain_.OptionsHotKeyHotKey();
}

void TfrmWelcome::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TfrmWelcome::FormShow() {
  raise();
  activateWindow();
  SpeakWelcomeText();
}

void TfrmWelcome::SpeakWelcomeText() {
  const Text text = FromQString(Label2->text());
  try {
    TDefaultVoicePage& voice = frmMain_.DefaultVoice();
    voice.SelectDefaultVoice();
    if (voice.SelectedVoiceIndex() < static_cast<int>(frmMain_.SpeechAPI4.Engines().size())) {
      frmMain_.SpeechAPI4.Text.clear();
      frmMain_.SpeechAPI4.Text.push_back(speech::ToAnsiText(context_.codePage, text));
      frmMain_.SpeechAPI4.Speak();
    } else {
      voice.SelectDefaultVoice();
      frmMain_.SpeechAPI5.Speak(text, platform::kSpeakAsync);
    }
  } catch (const std::exception&) {
    // No voice or a failing engine: the beep says so, and the window works as usual.
    context_.beeper.WarningBeep();
  }
}

void TfrmWelcome::hideEvent(QHideEvent* event) {
  FormHide();
  QDialog::hideEvent(event);
}

void TfrmWelcome::FormHide() {
  frmMain_.EndWelcomeReading();
}

void TfrmWelcome::keyPressEvent(QKeyEvent* event) {
  FormKeyDown(event->key());
}

void TfrmWelcome::FormKeyDown(int key) {
  if (key == Qt::Key_Escape) close();
}

void TfrmWelcome::HyperLabel2Click() {
  close();
}

// A press anywhere but on "Continue" drags the window, as a press on a title bar would.
void TfrmWelcome::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
  dragOffset_ = event->globalPosition().toPoint() - pos();
}

void TfrmWelcome::mouseMoveEvent(QMouseEvent* event) {
  if (!dragOffset_) return QDialog::mouseMoveEvent(event);
  QRect wanted(event->globalPosition().toPoint() - *dragOffset_, frameGeometry().size());
  if (const QScreen* screen = QApplication::screenAt(event->globalPosition().toPoint())) {
    wanted = SnapToEdges(wanted, screen->availableGeometry());
  }
  move(wanted.topLeft());
}

void TfrmWelcome::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragOffset_.reset();
  QDialog::mouseReleaseEvent(event);
}

}  // namespace parlino::app
