// The program entry: one copy per desktop session, the platform services, the windows, the loop.
#include <QApplication>
#include <QMetaObject>
#include <cstdio>
#include <cstdlib>

#include "app/entry/instance_requests.h"
#include "app/entry/linux_services.h"
#include "app/entry/session_end.h"
#include "app/entry/toolkit_arguments.h"
#include "app/settings/data_files.h"
#include "app/ui/frm_main.h"
#include "app/ui/frm_welcome.h"
#include "platform/linux/folders.h"
#include "platform/linux/x11_display.h"
#include "platform/linux/x11_single_instance.h"

int main(int argc, char** argv) {
  using namespace parlino;
  // The folders exist before any window does.
  const platform::Folders folders = platform::linux_impl::DiscoverFolders();

  // Global hot keys, the synthetic copy and the middle-button poll all need X11; on a Wayland
  // desktop that is XWayland. Without a display that answers, the toolkit would abort.
  if (const auto problem = platform::linux_impl::X11DisplayProblem()) {
    std::fprintf(stderr, "Parlino: %s\n", problem->c_str());
    return 1;
  }

  // A copy started from a desktop shortcut hands its request over and ends before any toolkit
  // or voice starts, so that the shortcut answers at once.
  const std::vector<platform::InstanceRequest> requests =
      app::InstanceRequestsOf(std::vector<std::string>(argv, argv + argc));
  platform::linux_impl::X11SingleInstance instance;
  const bool anotherCopyRuns = instance.HandOver(requests);
  if (anotherCopyRuns && !requests.empty()) return 0;

  app::ToolkitArguments toolkitArguments(argc, argv);
  QApplication application(toolkitArguments.argc(), toolkitArguments.argv());
  QApplication::setApplicationName("Parlino");
  // The program lives in the tray: closing a message box or hiding the window must not end it.
  QApplication::setQuitOnLastWindowClosed(false);

  app::LinuxServices services;
  if (anotherCopyRuns) {
    services.boxes.Show(platform::BoxKind::Information, u"Parlino!",
                        u"Parlino! is already running now.", platform::BoxButtons::Ok);
    return 0;
  }
  // A data folder that others may change could be used to make the program write elsewhere.
  if (const auto problem = platform::linux_impl::DataFolderProblem(folders.dataFolder)) {
    std::fprintf(stderr, "Parlino: %s\n", problem->c_str());
    services.boxes.Show(platform::BoxKind::Error, u"Parlino!", FromUtf8(*problem),
                        platform::BoxButtons::Ok);
    return 1;
  }
  // Only now, with no other copy writing there: what a killed run left half-written goes.
  app::RemoveLeftoverTemporaryFiles(folders.dataFolder);

  app::AppContext context = services.Context(folders, toolkitArguments.ProgramArguments());
  app::TfrmMain frmMain(context);
  app::SessionEnd sessionEnd(frmMain, services.hotKeys);
  frmMain.FormCreate();
  if (sessionEnd.Ended()) return 0;  // told to end while starting
  if (context.waylandSession) {
    const std::string note = platform::linux_impl::WaylandSessionNote(
        std::getenv("DISPLAY"), QApplication::platformName().toStdString());
    std::fprintf(stderr, "Parlino: %s\n", note.c_str());
    frmMain.DebugLog(note);
  }
  app::TfrmWelcome frmWelcome(frmMain, context);
  frmWelcome.FormCreate();
  // Told to end while the welcome was shown: its loop has ended, and the program's would never.
  if (sessionEnd.Ended()) return 0;
  // After a welcome the options window is already shown, whatever the start-up decided.
  if (!frmMain.StartMinimized()) frmMain.show();
  // This copy's own requests come first, then those later copies handed over meanwhile.
  for (const platform::InstanceRequest request : requests) {
    QMetaObject::invokeMethod(
        &frmMain, [&frmMain, request] { frmMain.SingleInstanceRequest(request); },
        Qt::QueuedConnection);
  }
  instance.ReceiveRequests(
      [&frmMain](platform::InstanceRequest request) { frmMain.SingleInstanceRequest(request); });
  return QApplication::exec();
}
