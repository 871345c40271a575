// The program entry: one copy per desktop session, the platform services, the windows, the loop.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/entry/linux_services.h"
#include "app/ui/frm_main.h"
#include "platform/linux/folders.h"
#include "platform/linux/x11_single_instance.h"

int main(int argc, char** argv) {
  using namespace parlino;
  // The folders exist before any window does.
  const platform::Folders folders = platform::linux_impl::DiscoverFolders();

  // Global hot keys, the synthetic copy and the middle-button poll all need X11; on a Wayland
  // desktop that is XWayland.
  if (std::getenv("DISPLAY") == nullptr) {
    std::fprintf(stderr,
                 "Parlino: no X display found (DISPLAY is not set). Parlino needs X11; "
                 "on a Wayland desktop it runs through XWayland.\n");
    return 1;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName("Parlino");
  // The program lives in the tray: closing a message box or hiding the window must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  app::LinuxServices services;
  platform::linux_impl::X11SingleInstance instance;
  if (instance.AnotherCopyRuns()) {
    services.boxes.Show(platform::BoxKind::Information, u"Parlino!",
                        u"Parlino! is already running now.", platform::BoxButtons::Ok);
    return 0;
  }

  app::AppContext context = services.Context(folders, std::vector<std::string>(argv, argv + argc));
  app::TfrmMain frmMain(context);
  frmMain.FormCreate();
  if (!frmMain.StartMinimized()) frmMain.show();
  return QApplication::exec();
}
