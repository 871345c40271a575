// The tray icon and its menu: the user's way back to the options window, the pause item, the
// help pages and Exit.
#include <QAction>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>

#include "app/ui/frm_main.h"
#include "app/ui/help_links.h"
#include "app/ui/tray/tray_menu.h"
#include "app/ui/widgets/artwork.h"
#include "app/ui/widgets/event_dispatch.h"
#include "app/ui/widgets/qt_text.h"

namespace parlino::app {

void TfrmMain::CreateTray() {
  TrayIcon = new QSystemTrayIcon(ProgramIcon(), this);
  TrayIcon->setObjectName("TrayIcon");
  TrayIcon->setToolTip("Parlino!");
  TrayMenu = new TTrayMenu(this);

  const auto item = [this](const char* name, const char* caption, void (TfrmMain::*handler)()) {
    QAction* created = TrayMenu->AddItem(name, caption);
    if (handler != nullptr) {
      connect(created, &QAction::triggered, this,
              [this, handler] { DispatchEvent(context_.boxes, [&] { (this->*handler)(); }); });
    }
    return created;
  };
  QAction* options = item("Options1", "Options...", &TfrmMain::Options1Click);
  item("Configurevoiceslots1", "Configure Voice Slots...", &TfrmMain::Configurevoiceslots1Click);
  item("Additionalvoices1", "Additional voices...", &TfrmMain::Additionalvoices1Click);
  item("N1", "", nullptr);
  Stopreading1 = item("Stopreading1", "Pause", nullptr);  // the reading's toggle, wired with it
  item("N2", "", nullptr);
  item("Help1", "Help", &TfrmMain::Help1Click);
  item("utorial1", "Tutorial", &TfrmMain::utorial1Click);
  item("Website1", "Official Website", &TfrmMain::Website1Click);
  item("About1", "About...", &TfrmMain::About1Click);
  item("N3", "", nullptr);
  item("Exit1", "Exit", &TfrmMain::Exit1Click);

  // The default item, in bold.
  TrayMenu->setDefaultAction(options);
  QFont bold = options->font();
  bold.setBold(true);
  options->setFont(bold);

  TrayIcon->setContextMenu(TrayMenu);
  connect(TrayIcon, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick) TrayIconDblClick();
          });
}

void TfrmMain::Options1Click() {
  ShowOnTab(kGeneralTab);
  setFocus(Qt::OtherFocusReason);
}

void TfrmMain::Configurevoiceslots1Click() {
  ShowOnTab(kSlotsTab);
}

void TfrmMain::Additionalvoices1Click() {
  btnAddVoices->click();
}

void TfrmMain::Help1Click() {
  context_.shell.Open(HelpFile);
}

void TfrmMain::utorial1Click() {
  context_.shell.Open(HelpAddress(HelpTarget::Tutorial, context_.folders.programFolder));
}

void TfrmMain::Website1Click() {
  context_.shell.Open(HelpAddress(HelpTarget::Home, context_.folders.programFolder));
}

void TfrmMain::About1Click() {
  ShowOnTab(kAboutTab);
}

}  // namespace parlino::app
