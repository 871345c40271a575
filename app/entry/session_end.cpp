#include "app/entry/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>

namespace parlino::app {

SessionEnd::SessionEnd(TfrmMain& frmMain, platform::linux_impl::X11HotKeyRegistrar& hotKeys)
    : frmMain_(frmMain),
      signals_([this](int) {
        SaveForTheEnd();
        frmMain_.Quit();
      }),
      connectionLoss_([this, &hotKeys] {
        hotKeys.ConnectionLost();
        SaveForTheEnd();
      }) {
  // The session manager ends the program itself once everyone has saved; a session that goes on
  // after all finds the program without its hot keys and tray icon, as on Windows.
  QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, &frmMain,
                   [this](QSessionManager&) { SaveForTheEnd(); });
}

void SessionEnd::SaveForTheEnd() {
  if (ended_) return;
  ended_ = true;
  frmMain_.WMQueryEndSession();
}

}  // namespace parlino::app
