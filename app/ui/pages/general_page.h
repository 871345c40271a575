#pragma once
// The "General" tab: starting with the desktop, minimizing to the tray on closing, the three
// hot keys and reading by the middle mouse button.
#include <cstdint>
#include <filesystem>

#include "app/ui/pages/options_page.h"
#include "platform/autostart_entry.h"

class QCheckBox;
class QGroupBox;
class QLabel;

namespace parlino::app {

class THotKeyEdit;

class TGeneralPage final : public TOptionsPage {
  Q_OBJECT
 public:
  // `program` is what the desktop starts when "start with the desktop" is on; the page reads it
  // at every registration.
  TGeneralPage(platform::AutostartEntry& autostart, const std::filesystem::path& program);

  void LoadCfg(IniFile& cfg) override;
  void LoadStores() override;
  void SaveCfg(IniFile& cfg) override;
  void SaveStores() override;

  // Registers the program to start with the desktop, hidden in the tray.
  void WriteRunValue();

  std::uint16_t ReadingHotKey() const;
  std::uint16_t OptionsHotKey() const;
  std::uint16_t StopHotKey() const;
  bool MinimizeToTrayChecked() const;
  bool ReadByMouseChecked() const;

 private:
  platform::AutostartEntry& autostart_;
  const std::filesystem::path& program_;

  QGroupBox* GroupBox1;
  QCheckBox* AutoStart_CheckBox;
  QCheckBox* TrayIcon_CheckBox;
  THotKeyEdit* Helper_HotKey;
  QGroupBox* GroupBox2;
  QLabel* Label1;
  THotKeyEdit* Reading_HotKey;
  QLabel* Label10;
  THotKeyEdit* Options_HotKey;
  QLabel* Label2;
  THotKeyEdit* Stop_HotKey;
  QCheckBox* ReadByMouse;
};

}  // namespace parlino::app
