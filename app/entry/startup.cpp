// The startup sequence of the options window: engines, voices, slots, settings, tray icon.
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <algorithm>

#include "app/ui/artwork.h"
#include "app/ui/event_dispatch.h"
#include "app/ui/frm_main.h"
#include "app/ui/qt_text.h"
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

void TfrmMain::FormCreate() {
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
      context_.shell.Open(Text(kWebSite) + u"/products/parlino/voices/");
      // The quit takes effect once the event loop runs; the remaining steps still run.
      QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                Qt::QueuedConnection);
    }

    {
      const QSignalBlocker blocker(Pages);  // the program's own tab change
      Pages->setCurrentIndex(0);
    }
    DebugLog("Start : 4");
    LoadVoicesList();
    DebugLog("Start : 5");
    DebugLog("Start : 6");
    LoadCfg();
    DebugLog("Start : 7");

    TrayIcon->show();
    startMinimized_ = HasArgument(context_.arguments, "-autostart") || !IsFirstRun;

    HelpFile = FromQString(
        QString::fromStdString((context_.folders.programFolder / "help" / "index.html").string()));
    for (QLabel* link : {HyperLabel1, HyperLabel2, HyperLabel3}) {
      QFont font = link->font();
      font.setBold(true);
      link->setFont(font);
    }
    Label8->setText(Label8->text().replace("%d", QString::number(QDate::currentDate().year())));
    DebugLog("Start : 8");
  });
}

void TfrmMain::CheckSapi4() {
  if (SpeechAPI4.Engines().empty()) Sapi4Available = false;
}

void TfrmMain::CheckSapi5() {
  try {
    SpeechAPI5.Connect();
    if (SpeechAPI5.GetVoices(u"", u"")->Count() == 0) Sapi5Available = false;
  } catch (const std::exception&) {
    Sapi5Available = false;
  }
}

}  // namespace parlino::app
