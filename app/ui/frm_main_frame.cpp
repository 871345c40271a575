// The options window's frame: OK, Cancel, showing, the options hot key and the tray menu's
// Options and Exit.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>

#include "app/ui/event_dispatch.h"
#include "app/ui/frm_main.h"
#include "app/ui/hot_key_edit.h"

namespace parlino::app {

void TfrmMain::ConnectFrame() {
  connect(btnOK, &QPushButton::clicked, this,
          [this] { DispatchEvent(context_.boxes, [this] { btnOKClick(); }); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
  connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, btnCancel,
          &QPushButton::click);

  QAction* options = new QAction("Options...", TrayMenu);
  QFont bold = options->font();
  bold.setBold(true);
  options->setFont(bold);  // the default item
  TrayMenu->insertAction(Stopreading1, options);
  TrayMenu->insertSeparator(Stopreading1);
  TrayMenu->addSeparator();
  QAction* exit = TrayMenu->addAction("Exit");
  connect(options, &QAction::triggered, this, [this] { OptionsHotKeyHotKey(); });
  connect(exit, &QAction::triggered, this, [this] { Exit1Click(); });
}

void TfrmMain::showEvent(QShowEvent* event) {
  // Every show after the start-up load shows the settings as stored: unconfirmed edits are gone.
  if (!PlacementPending) DispatchEvent(context_.boxes, [this] { LoadCfg(); });
  QWidget::showEvent(event);
}

void TfrmMain::btnOKClick() {
  SaveCfg();
  DefaultHotKey.SetHotKey(Reading_HotKey->HotKey());
  OptionsHotKey.SetHotKey(Options_HotKey->HotKey());
  StopHotKey.SetHotKey(Stop_HotKey->HotKey());
  if (ReadByMouse->isChecked()) {
    MouseTimer->start();
  } else {
    MouseTimer->stop();
  }
  hide();
}

void TfrmMain::btnCancelClick() {
  hide();
}

void TfrmMain::OptionsHotKeyHotKey() {
  show();
  raise();
  activateWindow();
  Pages->setCurrentIndex(0);
}

void TfrmMain::Exit1Click() {
  try {
    SpeechAPI5.Pause();
    SpeechAPI5.Speak(u"", platform::kSpeakPurgeBeforeSpeak);
    if (Sapi4Available) SpeechAPI4.Pause();
    SpeechAPI5.Disconnect();
    SaveCfg();
  } catch (const std::exception&) {
    // Ending the program must not fail: what could not be stopped ends with the process.
  }
  QCoreApplication::quit();
}

}  // namespace parlino::app
