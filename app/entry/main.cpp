// The program entry: one copy per desktop session, the platform services, the windows, the loop.
#include <QApplication>

#include "app/ui/frm_main.h"
#include "platform/linux/desktop_autostart_entry.h"
#include "platform/linux/desktop_shell.h"
#include "platform/linux/espeak_voice_server.h"
#include "platform/linux/folders.h"
#include "platform/linux/ini_profile_store.h"
#include "platform/linux/no_legacy_engines.h"
#include "platform/linux/qt_beeper.h"
#include "platform/linux/qt_clipboard.h"
#include "platform/linux/qt_focus_copy.h"
#include "platform/linux/qt_message_boxes.h"
#include "platform/linux/qt_message_pump.h"
#include "platform/linux/utf8_code_page.h"
#include "platform/linux/x11_hot_key_registrar.h"
#include "platform/linux/x11_input.h"
#include "platform/linux/x11_single_instance.h"

namespace {

using namespace parlino;
namespace linux_impl = platform::linux_impl;

}  // namespace

int main(int argc, char** argv) {
  // The folders exist before any window does.
  const platform::Folders folders = linux_impl::DiscoverFolders();

  QApplication application(argc, argv);
  QApplication::setApplicationName("Parlino");
  // The program lives in the tray: closing a message box or hiding the window must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  linux_impl::QtMessageBoxes boxes;
  linux_impl::X11SingleInstance instance;
  if (instance.AnotherCopyRuns()) {
    boxes.Show(platform::BoxKind::Information, u"Parlino!", u"Parlino! is already running now.",
               platform::BoxButtons::Ok);
    return 0;
  }

  linux_impl::IniProfileStore profiles;
  linux_impl::DesktopAutostartEntry autostart(linux_impl::ConfigHome() / "autostart" /
                                              "Parlino.desktop");
  linux_impl::DesktopShell shell;
  linux_impl::SystemClock clock;
  linux_impl::QtMessagePump pump;
  linux_impl::EspeakVoiceServer voiceServer(pump);
  linux_impl::NoLegacyEngines legacyEngines;
  linux_impl::Utf8CodePage codePage;
  linux_impl::X11HotKeyRegistrar hotKeys;
  linux_impl::QtClipboard clipboard;
  linux_impl::QtFocusCopy focusCopy;
  linux_impl::X11Input input;
  linux_impl::QtBeeper beeper;

  std::vector<std::string> arguments(argv, argv + argc);
  app::AppContext context{folders,       folders.programFolder / "parlino",
                          arguments,     profiles,
                          autostart,     boxes,
                          shell,         voiceServer,
                          legacyEngines, codePage,
                          hotKeys,       clipboard,
                          focusCopy,     input,
                          input,         beeper,
                          clock,         pump};

  app::TfrmMain frmMain(context);
  frmMain.FormCreate();
  if (!frmMain.StartMinimized()) frmMain.show();
  return QApplication::exec();
}
