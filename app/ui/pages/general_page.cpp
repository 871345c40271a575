#include "app/ui/pages/general_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/settings/cfg_file.h"
#include "app/settings/ini_file.h"
#include "app/ui/widgets/hot_key_edit.h"

namespace parlino::app {
namespace {

constexpr std::int32_t kDefaultReadingHotKey = 0x4008;  // Ctrl+Backspace
constexpr std::int32_t kDefaultOptionsHotKey = 0x407A;  // Ctrl+F11
constexpr std::int32_t kDefaultStopHotKey = 0x407B;     // Ctrl+F12

// Windows' own text names its system; elsewhere that would be wrong.
#ifdef _WIN32
constexpr char kAutoStartCaption[] = "&Load program at Windows startup";
#else
constexpr char kAutoStartCaption[] = "&Load program at startup";
#endif

std::uint16_t HotKeyCode(std::int32_t stored) {
  return static_cast<std::uint16_t>(stored);
}

bool RunValuePresent(platform::AutostartEntry& autostart) {
  try {
    const std::optional<Text> run = autostart.Read();
    return run && !run->empty();
  } catch (const std::exception&) {
    return false;  // an entry that cannot be read counts as off
  }
}

}  // namespace

TGeneralPage::TGeneralPage(platform::AutostartEntry& autostart,
                           const std::filesystem::path& program)
    : autostart_(autostart), program_(program) {
  setObjectName("General_Sheet");
  GroupBox1 = new QGroupBox("Startup", this);
  GroupBox1->setObjectName("GroupBox1");
  AutoStart_CheckBox = new QCheckBox(kAutoStartCaption);
  AutoStart_CheckBox->setObjectName("AutoStart_CheckBox");
  TrayIcon_CheckBox = new QCheckBox("&Minimize to system tray on window closing");
  TrayIcon_CheckBox->setObjectName("TrayIcon_CheckBox");
  TrayIcon_CheckBox->setChecked(true);
  Helper_HotKey = new THotKeyEdit(GroupBox1);
  Helper_HotKey->setObjectName("Helper_HotKey");
  Helper_HotKey->setVisible(false);
  auto* startup = new QVBoxLayout(GroupBox1);
  startup->addWidget(AutoStart_CheckBox);
  startup->addWidget(TrayIcon_CheckBox);

  GroupBox2 = new QGroupBox("Hot keys", this);
  GroupBox2->setObjectName("GroupBox2");
  auto* keys = new QGridLayout(GroupBox2);
  const auto addHotKey = [&](QLabel*& label, THotKeyEdit*& edit, const char* labelName,
                             const char* editName, const char* caption, int row) {
    label = new QLabel(caption);
    label->setObjectName(labelName);
    edit = new THotKeyEdit;
    edit->setObjectName(editName);
    label->setBuddy(edit);
    keys->addWidget(label, row, 0);
    keys->addWidget(edit, row, 1);
  };
  addHotKey(Label1, Reading_HotKey, "Label1", "Reading_HotKey",
            "&Read selected text by pressing:", 0);
  addHotKey(Label10, Options_HotKey, "Label10", "Options_HotKey",
            "Show &options window by pressing:", 1);
  addHotKey(Label2, Stop_HotKey, "Label2", "Stop_HotKey", "&Pause/resume reading by pressing:", 2);
  ReadByMouse = new QCheckBox("Read selected text by pressing mouse middle/wheel button");
  ReadByMouse->setObjectName("ReadByMouse");
  keys->addWidget(ReadByMouse, 3, 0, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GroupBox1);
  layout->addWidget(GroupBox2);
  layout->addStretch();
}

void TGeneralPage::LoadCfg(IniFile& cfg) {
  Reading_HotKey->SetHotKey(
      HotKeyCode(cfg.ReadInteger(kGeneral, u"HotKey", kDefaultReadingHotKey)));
  Options_HotKey->SetHotKey(
      HotKeyCode(cfg.ReadInteger(kGeneral, u"OptHotKey", kDefaultOptionsHotKey)));
  Stop_HotKey->SetHotKey(HotKeyCode(cfg.ReadInteger(kGeneral, u"StopHotKey", kDefaultStopHotKey)));
  TrayIcon_CheckBox->setChecked(cfg.ReadBool(kGeneral, u"MinimizeToTray", true));
  ReadByMouse->setChecked(cfg.ReadBool(kGeneral, u"ReadByMouse", true));
}

// The check box shows whether the desktop starts the program.
void TGeneralPage::LoadStores() {
  AutoStart_CheckBox->setChecked(RunValuePresent(autostart_));
}

void TGeneralPage::SaveCfg(IniFile& cfg) {
  cfg.WriteInteger(kGeneral, u"HotKey", Reading_HotKey->HotKey());
  cfg.WriteInteger(kGeneral, u"OptHotKey", Options_HotKey->HotKey());
  cfg.WriteInteger(kGeneral, u"StopHotKey", Stop_HotKey->HotKey());
  cfg.WriteBool(kGeneral, u"MinimizeToTray", TrayIcon_CheckBox->isChecked());
  cfg.WriteBool(kGeneral, u"ReadByMouse", ReadByMouse->isChecked());
}

void TGeneralPage::SaveStores() {
  if (AutoStart_CheckBox->isChecked()) {
    WriteRunValue();
  } else {
    autostart_.Remove();
  }
}

void TGeneralPage::WriteRunValue() {
  autostart_.Write(program_, u" -autostart");
}

std::uint16_t TGeneralPage::ReadingHotKey() const {
  return Reading_HotKey->HotKey();
}

std::uint16_t TGeneralPage::OptionsHotKey() const {
  return Options_HotKey->HotKey();
}

std::uint16_t TGeneralPage::StopHotKey() const {
  return Stop_HotKey->HotKey();
}

bool TGeneralPage::MinimizeToTrayChecked() const {
  return TrayIcon_CheckBox->isChecked();
}

bool TGeneralPage::ReadByMouseChecked() const {
  return ReadByMouse->isChecked();
}

}  // namespace parlino::app
