#include "app/ui/frm_main.h"

#include <QApplication>
#include <QDate>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/settings/tidy_ini_file.h"
#include "app/ui/help_links.h"
#include "app/ui/pages/about_page.h"
#include "app/ui/pages/default_voice_page.h"
#include "app/ui/pages/general_page.h"
#include "app/ui/pages/pronunciation_page.h"
#include "app/ui/pages/slots_page.h"
#include "app/ui/widgets/artwork.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/hot_key_edit.h"
#include "app/ui/widgets/qt_text.h"
#include "app/ui/widgets/tool_tips.h"
#include "platform/virtual_keys.h"
#include "reading/text_preparation.h"
#include "voices/frm_voices.h"

namespace parlino::app {
namespace {

constexpr TextView kEasterEggWord = u"brevanta";

// The key's code as the key handler counts it: modifier keys and keys without a virtual-key
// code count too, so that they break a typed word.
std::uint8_t KeyCodeOf(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Shift:
      return 0x10;
    case Qt::Key_Control:
      return 0x11;
    case Qt::Key_Alt:
      return 0x12;
    case Qt::Key_Meta:
      return 0x5B;
    default:
      return VirtualKeyOf(key.key(), key.modifiers() & Qt::KeypadModifier);
  }
}

}  // namespace

TfrmMain::TfrmMain(AppContext& context)
    : SpeechAPI4(context.legacyEngines, context.codePage),
      SpeechAPI5(context.voiceServer),
      DefaultHotKey(context.hotKeys),
      OptionsHotKey(context.hotKeys),
      StopHotKey(context.hotKeys),
      context_(context),
      log_(context.folders.dataFolder / "debug.txt"),
      notices_(context.boxes, log_),
      General_Sheet(new TGeneralPage(context.autostart, context.programPath)),
      Speech_Sheet(new TDefaultVoicePage(
          {SpeechAPI4, SpeechAPI5, context.codePage, context.boxes, Sapi5Available,
           [this](std::string_view problem) { notices_.Log(problem); }})),
      Slots_Sheet(new TSlotsPage({context.profiles,
                                  context.folders.dataFolder / "slots.ini",
                                  &TidyIniLines,
                                  context.hotKeys,
                                  [this](int slot) { Reading.SelectSlot(slot); },
                                  {DefaultHotKey, OptionsHotKey, StopHotKey},
                                  *Speech_Sheet,
                                  SpeechAPI4,
                                  SpeechAPI5,
                                  context.legacyEngines,
                                  context.codePage,
                                  context.boxes,
                                  context.shell,
                                  HelpFile})),
      TabSheet1(new TPronunciationPage({context.folders.dataFolder / "words.ini", context.codePage,
                                        context.boxes, context.shell, *Speech_Sheet, HelpFile})),
      About_Sheet(new TAboutPage(context.shell, context.folders.programFolder)),
      Capture({context.clipboard, context.focusCopy, context.keyboard, context.clock, context.pump,
               context.primarySelection},
              [this](TextView raw) { return reading::PrepareText(Text(raw), *TabSheet1); }),
      Reading({SpeechAPI4, SpeechAPI5, context.codePage, *Speech_Sheet, *Slots_Sheet, Capture,
               *this, context.beeper, Sapi4Available, Sapi5Available}) {
  setObjectName("frmMain");
  setWindowTitle("Parlino!");
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  Pages = new QTabWidget(this);
  Pages->setObjectName("Pages");
  Pages->setUsesScrollButtons(false);  // every tab stays in view; the window grows to fit them
  Pages->addTab(General_Sheet, "General");
  Pages->addTab(Speech_Sheet, "Default voice");
  Pages->addTab(Slots_Sheet, "Voice slots");
  Pages->addTab(TabSheet1, "Pronunciation");
  Pages->addTab(About_Sheet, "About");
  CreateBottomStrip();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Pages);
  layout->addWidget(Panel1);

  MouseTimer = new QTimer(this);
  MouseTimer->setObjectName("MouseTimer");
  MouseTimer->setInterval(125);
  TrayAnimation_Timer = new QTimer(this);
  TrayAnimation_Timer->setObjectName("TrayAnimation_Timer");
  TrayAnimation_Timer->setInterval(500);

  CreateTray();
  setWindowIcon(ProgramIcon());
  ConnectReading();
  ConnectFrame();
  notices_.trayMessage = [this](TextView text) {
    if (!TrayIcon->isVisible() || !QSystemTrayIcon::isSystemTrayAvailable() ||
        !QSystemTrayIcon::supportsMessages()) {
      return false;
    }
    TrayIcon->showMessage("Parlino!", ToQString(text), QSystemTrayIcon::Warning);
    return true;
  };
  // Speech without an audio device goes on silently; the user hears of it once.
  // Whichever generation speaks first finds out.
  const auto tellAudio = [this](TextView text) {
    notices_.Report(UserNotices::Kind::Audio, text, ToUtf8(text));
  };
  context.voiceServer.SetNoticeHandler(tellAudio);
  context.legacyEngines.SetNoticeHandler(tellAudio);
  // Key preview: every key pressed in any control reaches FormKeyDown first.
  QApplication::instance()->installEventFilter(this);

  // Created once and reused; its Exit after an install is the tray menu's.
  frmVoices_ = new voices::TfrmVoices(
      {context.profiles, context.downloads, context.boxes, context.shell, context.pump,
       context.folders, FromUtf8(context.programPath.filename().string()),
       HelpAddress(HelpTarget::Voices, context.folders.programFolder), [this] { Exit1Click(); }},
      this);

  // Fixed border: the window keeps the size its content asks for, at least the classic 424 x 283.
  setFixedSize(sizeHint().expandedTo(QSize(424, 283)));
}

void TfrmMain::CreateBottomStrip() {
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  const auto button = [](const char* name, const char* caption) {
    auto* created = new QPushButton(caption);
    created->setObjectName(name);
    return created;
  };
  btnAddVoices = button("btnAddVoices", "Get additional &voices...");
  btnOK = button("btnOK", "&OK");
  btnCancel = button("btnCancel", "&Cancel");
  btnHelp = button("btnHelp", "&Help");
  auto* layout = new QHBoxLayout(Panel1);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(btnAddVoices);
  layout->addStretch();
  layout->addWidget(btnOK);
  layout->addWidget(btnCancel);
  layout->addWidget(btnHelp);
}

void TfrmMain::ConnectFrame() {
  const auto handle = [this](QPushButton* button, void (TfrmMain::*handler)()) {
    connect(button, &QPushButton::clicked, this,
            [this, handler] { DispatchEvent(context_.boxes, [&] { (this->*handler)(); }); });
  };
  handle(btnOK, &TfrmMain::btnOKClick);
  handle(btnCancel, &TfrmMain::btnCancelClick);
  handle(btnHelp, &TfrmMain::btnHelpClick);
  handle(btnAddVoices, &TfrmMain::btnAddVoicesClick);
  // Esc is the cancel button.
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, btnCancel,
          &QPushButton::click);
  // Tab changes the program makes block the signal: only the user's count.
  connect(Pages, &QTabWidget::currentChanged, this, [this] { PagesChange(); });
}

void TfrmMain::PagesChange() {
  Speech_Sheet->VoiceChangeSuppressed = true;
}

void TfrmMain::showEvent(QShowEvent* event) {
  // Every show after the start-up load shows the settings as stored: unconfirmed edits are gone.
  // A window coming back from the taskbar keeps what it shows.
  if (!event->spontaneous() && !PlacementPending) {
    DispatchEvent(context_.boxes, [this] { LoadCfg(); });
  }
  QWidget::showEvent(event);
}

void TfrmMain::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activationDone_ &&
      !ExitRequested && !SessionEnding) {
    // The first activation of the run connects the modern voice, if the start did not; a
    // program on its way out has let it go for good.
    activationDone_ = true;
    DispatchEvent(context_.boxes, [this] { SpeechAPI5.Connect(); });
  } else if (event->type() == QEvent::WindowStateChange && isMinimized() &&
             context_.notificationArea.Available()) {
    // The minimize button hides the window to the tray, once the state change is done.
    QTimer::singleShot(0, this, [this] { MinimizeApplication(); });
  }
}

void TfrmMain::btnOKClick() {
  SaveCfg();
  ApplyHotKeys();
  MinimizeApplication();
}

void TfrmMain::btnCancelClick() {
  MinimizeApplication();
}

void TfrmMain::FormHelp() {
  btnHelp->click();
}

void TfrmMain::btnHelpClick() {
  // A missing help page is reported by the desktop's browser, not by the program.
  context_.shell.Open(HelpFile);
}

// Modal to the whole program, yet without an event loop of its own: downloads, the tray and the
// end of the session go on while it is open.
void TfrmMain::btnAddVoicesClick() {
  frmVoices_->show();
  frmVoices_->raise();
  frmVoices_->activateWindow();
}

void TfrmMain::RestoreOptionsWindow() {
  setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void TfrmMain::ShowOnTab(Tab tab) {
  RestoreOptionsWindow();
  SelectTab(tab);
}

void TfrmMain::SelectTab(int index) {
  const QSignalBlocker blocker(Pages);  // the program's own tab change
  Pages->setCurrentIndex(index);
}

void TfrmMain::MinimizeApplication() {
  if (context_.notificationArea.Available()) {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    hide();
  } else if (isVisible()) {
    showMinimized();
  }
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (ShowToolTip(watched, event)) return true;
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    // A key no control took is offered to the control's parents in turn: count it once.
    const bool offeredAgain = event == lastKeyEvent_ && watched == lastKeyOfferedNext_;
    lastKeyEvent_ = event;
    lastKeyOfferedNext_ = watched->parent();
    if (!offeredAgain) {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      DispatchEvent(context_.boxes, [&] { FormKeyDown(KeyCodeOf(key), key.modifiers()); });
      if (key.key() == Qt::Key_F1 && key.modifiers() == Qt::NoModifier) {
        FormHelp();
        return true;  // the help request is handled
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmMain::FormKeyDown(std::uint8_t virtualKey, Qt::KeyboardModifiers shift) {
  TypedKeys.push_back(virtualKey);
  if (TypedKeys.size() > kEasterEggWord.size()) TypedKeys.erase(0, 1);
  Text typed = TypedKeys;
  for (char16_t& c : typed) c = AsciiLower(c);
  if (typed.find(kEasterEggWord) != Text::npos) {
    ToggleEasterEgg();
    TypedKeys.clear();
  }

  const Qt::KeyboardModifiers held =
      shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (virtualKey == platform::vk::k0 + 1 && held == (Qt::ControlModifier | Qt::AltModifier)) {
    context_.shell.Open(FromUtf8(context_.folders.dataFolder.string()));
  }
}

// The caption names who made the program while the egg is on.
void TfrmMain::ToggleEasterEgg() {
  easterEgg_ = !easterEgg_;
  About_Sheet->SetEasterEgg(easterEgg_);
  setWindowTitle(
      easterEgg_
          ? QString("Parlino! by the Parlino developers, 2004-%1").arg(QDate::currentDate().year())
          : QString("Parlino!"));
}

}  // namespace parlino::app
