#pragma once
// One tab of the options window. A page owns its controls and their handlers; the window owns
// the order in which the pages take part in the start-up, the settings and the shutdown, and
// calls these hooks at their moment (frm_main_startup.cpp, frm_main_settings.cpp,
// frm_main_shutdown.cpp). A page overrides the hooks it has something to do in.
#include <QWidget>

namespace parlino::app {

class IniFile;

class TOptionsPage : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;

  // Start-up, before the settings are loaded: lists the page builds from its own sources
  // (the voice catalogue from the engines, the slot list from slots.ini).
  virtual void LoadLists() {}

  // LoadCfg: the page's keys of cfg.ini into its controls, in the order the file lists them.
  virtual void LoadCfg(IniFile& /*cfg*/) {}
  // LoadCfg, once the hot keys are applied: what the page keeps outside cfg.ini (the start
  // with the desktop, the corrections file).
  virtual void LoadStores() {}

  // SaveCfg: the page's controls into cfg.ini, then into its other stores. An error abandons
  // the save where it happens.
  virtual void SaveCfg(IniFile& /*cfg*/) {}
  virtual void SaveStores() {}

  // The end of the program: release what the page holds of the system (its hot keys).
  virtual void BeforeCloseActions() {}
};

}  // namespace parlino::app
