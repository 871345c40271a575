#include <gtest/gtest.h>
#include <QDate>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTabWidget>

#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::Control;
using testing::WriteBytes;

TEST(Startup, LogSwitchWritesTheEightMarkers) {
  AppFixture app({"/opt/parlino/parlino", "-autostart", "-log"});
  app.Form().FormCreate();
  const std::vector<std::string> expected = {"Start : 1", "Start : 2", "Start : 3", "Start : 4",
                                             "Start : 5", "Start : 6", "Start : 7", "Start : 8"};
  EXPECT_EQ(app.LogEntries(), expected);

  // A second run of the sequence appends to the same file.
  app.Form().FormCreate();
  EXPECT_EQ(app.LogEntries().size(), 16u);
}

TEST(Startup, OnlyTheExactSwitchesCount) {
  for (const char* lookalike : {"-Log", "/log", "--log", "-log=1"}) {
    AppFixture app({"/opt/parlino/parlino", lookalike, "-Autostart"});
    app.Form().FormCreate();
    EXPECT_FALSE(std::filesystem::exists(app.dir / "debug.txt")) << lookalike;
    EXPECT_FALSE(app.Form().StartMinimized()) << lookalike;  // first run, no real -autostart
  }
}

TEST(Startup, WindowStartsHiddenExceptOnTheFirstRun) {
  {
    AppFixture first;
    first.Form().FormCreate();
    EXPECT_FALSE(first.Form().StartMinimized());
    EXPECT_EQ(Control<QTabWidget>(first.Form(), "Pages")->currentIndex(), 0);
  }
  {
    AppFixture autostarted({"/opt/parlino/parlino", "-autostart"});
    autostarted.Form().FormCreate();
    EXPECT_TRUE(autostarted.Form().StartMinimized());
  }
  {
    AppFixture later;
    WriteBytes(later.Cfg(), "[General]\r\nFirstRun=0\r\n");
    later.Form().FormCreate();
    EXPECT_TRUE(later.Form().StartMinimized());
  }
}

TEST(Startup, NoVoicesOfEitherKindShowsTheErrorAndOpensTheVoicesPage) {
  AppFixture app;
  app.voices.voices.clear();
  app.Form().FormCreate();
  EXPECT_FALSE(app.Form().Sapi4Available);
  EXPECT_FALSE(app.Form().Sapi5Available);
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Error);
  EXPECT_EQ(app.boxes.shown[0].text,
            u"Sorry, but there are no speech engines installed in your system.\n\r"
            u"Please, install some speech engine and run Parlino! again.\n\r"
            u"Web page with speech engines list will be opened now.");
  ASSERT_EQ(app.shell.opened.size(), 1u);
  EXPECT_EQ(app.shell.opened[0], FromUtf8((app.dir.path() / "help" / "voices.html").string()));
  // The remaining steps still ran.
  EXPECT_EQ(app.Stored(u"General", u"FirstRun"), u"0");
}

TEST(Startup, UnavailableVoiceServerCountsAsNoVoices) {
  AppFixture app;
  app.voices.available = false;
  app.Form().FormCreate();
  EXPECT_FALSE(app.Form().Sapi5Available);
  EXPECT_EQ(app.boxes.shown.size(), 1u);
}

TEST(Startup, AboutPageShowsTheCurrentYearOnce) {
  AppFixture app;
  app.Form().FormCreate();
  const QString year = QString::number(QDate::currentDate().year());
  EXPECT_TRUE(Control<QLabel>(app.Form(), "Label8")->text().contains(year));
  EXPECT_FALSE(Control<QLabel>(app.Form(), "Label8")->text().contains("%d"));
  const QString once = Control<QLabel>(app.Form(), "Label8")->text();
  app.Form().FormCreate();
  EXPECT_EQ(Control<QLabel>(app.Form(), "Label8")->text(), once);
  EXPECT_TRUE(Control<QLabel>(app.Form(), "HyperLabel1")->font().bold());
}

TEST(Startup, UnwritableLogIsToldOnceAndTheStartRunsThrough) {
  AppFixture app({"/opt/parlino/parlino", "-log"});
  std::filesystem::create_directory(app.dir / "debug.txt");
  app.Form().FormCreate();
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Warning);
  EXPECT_NE(app.boxes.shown[0].text.find(u"debug.txt\": it is a folder, not a file."), Text::npos)
      << ToUtf8(app.boxes.shown[0].text);
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_TRUE(testing::Control<QSystemTrayIcon>(app.Form(), "TrayIcon")->isVisible());
  EXPECT_EQ(app.Stored(u"General", u"FirstRun"), u"0");

  // Later entries fail as well, silently.
  app.Form().FormCreate();
  EXPECT_EQ(app.boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace parlino
