#pragma once
// Ends the program with the desktop session, however the session ends: a termination signal
// (SIGTERM, SIGHUP, SIGINT), the session manager's request to save, or the loss of the X
// server. Each runs the options window's end-of-session path: the settings are saved, the hot
// keys and the tray icon released, the log written, and the program ends with status 0.
#include "app/ui/frm_main.h"
#include "platform/linux/termination_signals.h"
#include "platform/linux/x11_connection_loss.h"
#include "platform/linux/x11_hot_key_registrar.h"

namespace parlino::app {

class SessionEnd {
 public:
  SessionEnd(TfrmMain& frmMain, platform::linux_impl::X11HotKeyRegistrar& hotKeys);

  // A signal that arrived before the event loop ran: the loop need not start.
  bool Ended() const { return ended_; }

 private:
  void SaveForTheEnd();

  TfrmMain& frmMain_;
  bool ended_ = false;
  platform::linux_impl::TerminationSignals signals_;
  platform::linux_impl::X11ConnectionLoss connectionLoss_;
};

}  // namespace parlino::app
