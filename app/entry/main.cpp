// The program entry: one copy per desktop session, the platform services, the windows, the loop.
#include <QApplication>

#include "app/entry/linux_services.h"
#include "app/ui/frm_main.h"
#include "platform/linux/folders.h"
#include "platform/linux/x11_single_instance.h"

int main(int argc, char** argv) {
  using namespace parlino;
  // The folders exist before any window does.
  const platform::Folders folders = platform::linux_impl::DiscoverFolders();

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
