#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTimer>
#include <fstream>

#include "app/ui/frm_welcome.h"
#include "app/ui/widgets/hyper_label.h"
#include "app/ui/widgets/qt_text.h"
#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::Control;

const std::string kSpokenText = ToUtf8(app::FromQString(app::WelcomeText()));

bool Logged(const AppFixture& app, const std::string& entry) {
  return std::ranges::find(app.voices.log, entry) != app.voices.log.end();
}

int StartsLogged(const AppFixture& app) {
  std::ifstream log(app.dir.path() / "debug.txt");
  int starts = 0;
  for (std::string line; std::getline(log, line);)
    starts += line.find("Start : 8") != std::string::npos ? 1 : 0;
  return starts;
}

// The options window after its start-up, and the welcome window created after it. `whileShown`
// runs inside the welcome's modal wait, once it is shown; it must close the window.
struct Welcome {
  explicit Welcome(AppFixture& fixture) : app(fixture) { app.Form().FormCreate(); }
  void Run(std::function<void(app::TfrmWelcome&)> whileShown) {
    QTimer::singleShot(0, &window, [this, whileShown] {
      shownWhileWaiting = window.isVisible();
      whileShown(window);
    });
    window.FormCreate();
  }
  AppFixture& app;
  app::TfrmWelcome window{app.Form(), app.context};
  bool shownWhileWaiting = false;
};

TEST(Welcome, FirstStartSpeaksTheTextEscEndsItAndTheOptionsWindowShowsGeneral) {
  AppFixture app({"/opt/parlino/parlino", "-autostart", "-log"});
  Welcome welcome(app);
  bool spokenWhileShown = false;
  welcome.Run([&](app::TfrmWelcome& window) {
    spokenWhileShown = Logged(app, "Speak " + kSpokenText + " 1");
    app.voices.voice()->PlayNext();  // the speech starts while the window waits
    window.FormKeyDown(Qt::Key_Escape);
  });

  EXPECT_TRUE(welcome.shownWhileWaiting);
  EXPECT_TRUE(spokenWhileShown);
  EXPECT_FALSE(welcome.window.isVisible());
  EXPECT_EQ(app.shell.opened.front(), app::FromQString(QString::fromStdString(
                                          (app.dir.path() / "help" / "tutorial.html").string())));
  EXPECT_EQ(app.Stored(u"General", u"WelcomeDlg"), u"1");
  // The speech ends: purged, the tray animation stopped.
  EXPECT_TRUE(Logged(app, "Speak  2"));
  EXPECT_FALSE(Control<QTimer>(app.Form(), "TrayAnimation_Timer")->isActive());
  // The start-up ran again and the window shows "General", although started with -autostart.
  EXPECT_EQ(StartsLogged(app), 2);
  EXPECT_TRUE(app.Form().isVisible());
  EXPECT_EQ(Control<QTabWidget>(app.Form(), "Pages")->currentIndex(), 0);
}

TEST(Welcome, IsShownOnlyWhileWelcomeDlgIsMissingOrFalse) {
  struct Case {
    const char* cfg;
    bool shown;
  };
  const Case cases[] = {
      {"[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n", false},
      {"[General]\r\nFirstRun=0\r\nWelcomeDlg=0\r\n", true},
      {"[General]\r\nFirstRun=0\r\n", true},  // deleted from an account that ran before
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.cfg);
    AppFixture app;
    testing::WriteBytes(app.Cfg(), each.cfg);
    Welcome welcome(app);
    welcome.Run([](app::TfrmWelcome& window) { window.HyperLabel2Click(); });
    // Not shown: the queued close runs later, on the window that was never opened.
    EXPECT_EQ(welcome.shownWhileWaiting, each.shown);
    EXPECT_EQ(app.shell.opened.empty(), !each.shown);
    EXPECT_EQ(app.Form().isVisible(), each.shown);
    EXPECT_EQ(Logged(app, "Speak " + kSpokenText + " 1"), each.shown);
  }
}

TEST(Welcome, ALegacyDefaultVoiceSpeaksTheTextAsAnsi) {
  AppFixture app;
  app.voices.voices.clear();
  app.legacyEngines.modes = {testing::MakeFakeMode("Mary in Stereo", "Mary")};
  Welcome welcome(app);
  std::vector<std::string> texts;
  welcome.Run([&](app::TfrmWelcome& window) {
    texts = app.legacyEngines.instances.back()->texts;
    window.HyperLabel2Click();
  });
  EXPECT_EQ(texts, std::vector<std::string>{kSpokenText + '\0'});
  EXPECT_EQ(app.Stored(u"General", u"WelcomeDlg"), u"1");
}

TEST(Welcome, AFailingVoiceBeepsAndTheWindowStillCloses) {
  AppFixture app;
  app.voices.failing = {"Speak"};
  Welcome welcome(app);
  int beepsWhileShown = -1;
  welcome.Run([&](app::TfrmWelcome& window) {
    beepsWhileShown = app.beeper.beeps;
    window.FormKeyDown(Qt::Key_Escape);
  });
  EXPECT_EQ(beepsWhileShown, 1);
  EXPECT_FALSE(welcome.window.isVisible());
  EXPECT_EQ(app.Stored(u"General", u"WelcomeDlg"), u"1");
  EXPECT_TRUE(app.Form().isVisible());
}

TEST(Welcome, WaitsForAStartWithAVoiceSoTheNoVoiceMessageComesOnce) {
  AppFixture app;
  app.voices.voices.clear();
  Welcome welcome(app);
  welcome.Run([](app::TfrmWelcome& window) { window.HyperLabel2Click(); });
  EXPECT_FALSE(welcome.shownWhileWaiting);
  EXPECT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.Stored(u"General", u"WelcomeDlg"), std::nullopt);
}

TEST(Welcome, IsBorderlessOfItsSizeAndLinksContinueInBold) {
  AppFixture app;
  testing::WriteBytes(app.Cfg(), "[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n");
  Welcome welcome(app);
  welcome.window.FormCreate();
  EXPECT_TRUE(welcome.window.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(welcome.window.size(), QSize(328, 187));
  EXPECT_TRUE(Control<app::THyperLabel>(welcome.window, "HyperLabel2")->font().bold());
  EXPECT_TRUE(app::WelcomeText().startsWith(
      "Parlino can read the selected text from any application. Just select"));
}

TEST(Welcome, SnapsToAScreenEdgeWithinTwentyPixels) {
  const QRect screen(0, 0, 800, 600);
  struct Case {
    QPoint wanted;
    QPoint placed;
  };
  const Case cases[] = {
      {{20, 100}, {0, 100}},                                      // 20 from the left edge snaps
      {{21, 100}, {21, 100}},                                     // 21 does not
      {{-15, -20}, {0, 0}},                                       // past the corner, both edges
      {{800 - 328 - 19, 600 - 187 - 5}, {800 - 328, 600 - 187}},  // right and bottom
      {{200, 200}, {200, 200}},
  };
  for (const Case& each : cases) {
    EXPECT_EQ(app::SnapToEdges(QRect(each.wanted, QSize(328, 187)), screen).topLeft(), each.placed);
  }
}

TEST(Welcome, APressAnywhereDragsTheWindowAndItSnaps) {
  AppFixture app;
  testing::WriteBytes(app.Cfg(), "[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\n");
  Welcome welcome(app);
  app::TfrmWelcome& window = welcome.window;
  window.move(200, 200);
  window.show();
  const auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(global - window.pos()), QPointF(global),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, {});
    QCoreApplication::sendEvent(&window, &event);
  };
  send(QEvent::MouseButtonPress, {250, 260}, Qt::LeftButton);
  send(QEvent::MouseMove, {300, 290}, Qt::LeftButton);
  EXPECT_EQ(window.pos(), QPoint(250, 230));
  send(QEvent::MouseMove, {62, 290}, Qt::LeftButton);  // 12 pixels from the left edge
  EXPECT_EQ(window.pos().x(), window.screen()->availableGeometry().left());
  send(QEvent::MouseButtonRelease, {62, 290}, Qt::NoButton);
  send(QEvent::MouseMove, {400, 400}, Qt::NoButton);
  EXPECT_EQ(window.pos().x(), window.screen()->availableGeometry().left());
}

}  // namespace
}  // namespace parlino
