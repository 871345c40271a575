// The startup sequence of the options window: engines, voices, slots, settings, tray icon.
#include <QApplication>
#include <QMetaObject>
#include <QSystemTrayIcon>
#include <algorithm>

#include "app/ui/frm_main.h"
#include "app/ui/help_links.h"
#include "app/ui/pages/about_page.h"
#include "app/ui/pages/default_voice_page.h"
#include "app/ui/pages/slots_page.h"
#include "app/ui/widgets/artwork.h"
#include "app/ui/widgets/event_dispatch.h"
#include "platform/message_boxes.h"

namespace parlino::app {
namespace {

bool HasArgument(const std::vector<std::string>& arguments, std::string_view wanted) {
  return std::ranges::find(arguments, wanted) != arguments.end();
}

constexpr TextView kNoEnginesMessage =
    u"Sorry, but there are no speech engines installed in your system.\n\r"
    u"Please, install some speech engine and run Parlino! again.\n\r"
    u"Web page with speech engines list will be opened now.";

}  // namespace

void TfrmMain::DebugLog(std::string_view entry) {
  if (const auto error = log_.Write(entry)) {
    notices_.Report(UserNotices::Kind::Log,
                    u"Parlino cannot write its log; it goes on without it.\n\n" + FromUtf8(*error),
                    {});
  }
}

void TfrmMain::FormCreate() {
  // What the user should hear of is told once the sequence has run: the program is usable by then.
  notices_.Hold();
  // An error ends the sequence at its step; the program keeps running with whatever the
  // finished steps set up.
  DispatchEvent(context_.boxes, [this] {
    log_.enabled = log_.enabled || HasArgument(context_.arguments, "-log");
    DebugLog("Start : 1");
    QApplication::setWindowIcon(ProgramIcon());

    CheckSapi4();
    DebugLog("Start : 2");
    CheckSapi5();
    DebugLog("Start : 3");

    if (!Sapi4Available && !Sapi5Available) {
      context_.boxes.Show(platform::BoxKind::Error, u"Parlino!", kNoEnginesMessage,
                          platform::BoxButtons::Ok);
      context_.shell.Open(HelpAddress(HelpTarget::Voices, context_.folders.programFolder));
      // The quit takes effect once the event loop runs; the remaining steps still run.
      QMetaObject::invokeMethod(this, &TfrmMain::Quit, Qt::QueuedConnection);
    }

    SelectTab(kGeneralTab);
    DebugLog("Start : 4");
    Speech_Sheet->LoadLists();
    DebugLog("Start : 5");
    Slots_Sheet->LoadLists();
    DebugLog("Start : 6");
    LoadCfg();
    DebugLog("Start : 7");

    TrayIcon->show();
    // A program that lives in the tray would be out of reach on a desktop without one: there
    // the window shows at every start.
    startMinimized_ = (HasArgument(context_.arguments, "-autostart") || !IsFirstRun) &&
                      context_.notificationArea.Available();

    HelpFile = HelpAddress(HelpTarget::Help, context_.folders.programFolder);
    About_Sheet->ShowLinksAndYear();
    DebugLog("Start : 8");
  });
  notices_.Release();
}

void TfrmMain::CheckSapi4() {
  if (SpeechAPI4.Engines().empty()) Sapi4Available = false;
}

void TfrmMain::CheckSapi5() {
  try {
    SpeechAPI5.Connect();
    if (SpeechAPI5.GetVoices(u"", u"")->Count() == 0) Sapi5Available = false;
  } catch (const std::exception& error) {
    notices_.Log(std::string("No modern voices: ") + error.what());
    Sapi5Available = false;
  }
}

}  // namespace parlino::app
