#include <gtest/gtest.h>
#include <QDate>
#include <QLabel>
#include <QTabWidget>

#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::ReadBytes;
using testing::WriteBytes;

std::vector<std::string> LogEntries(const std::filesystem::path& log) {
  std::vector<std::string> entries;
  std::istringstream lines(ReadBytes(log));
  for (std::string line; std::getline(lines, line);) {
    // "hh:mm:ss entry\r"
    EXPECT_EQ(line.size() > 9 ? line[2] : ' ', ':') << line;
    entries.push_back(line.substr(9, line.size() - 10));
  }
  return entries;
}

TEST(Startup, LogSwitchWritesTheEightMarkers) {
  AppFixture app({"/opt/parlino/parlino", "-autostart", "-log"});
  app.Form().FormCreate();
  const std::vector<std::string> expected = {"Start : 1", "Start : 2", "Start : 3", "Start : 4",
                                             "Start : 5", "Start : 6", "Start : 7", "Start : 8"};
  EXPECT_EQ(LogEntries(app.dir / "debug.txt"), expected);

  // A second run of the sequence appends to the same file.
  app.Form().FormCreate();
  EXPECT_EQ(LogEntries(app.dir / "debug.txt").size(), 16u);
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
    EXPECT_EQ(first.Form().Pages->currentIndex(), 0);
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
  EXPECT_TRUE(app.shell.opened[0].ends_with(u"/products/parlino/voices/"));
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
  EXPECT_TRUE(app.Form().Label8->text().contains(year));
  EXPECT_FALSE(app.Form().Label8->text().contains("%d"));
  const QString once = app.Form().Label8->text();
  app.Form().FormCreate();
  EXPECT_EQ(app.Form().Label8->text(), once);
  EXPECT_TRUE(app.Form().HyperLabel1->font().bold());
}

TEST(Startup, UnwritableLogShowsItsErrorAndKeepsTheProgramRunning) {
  AppFixture app({"/opt/parlino/parlino", "-log"});
  std::filesystem::create_directory(app.dir / "debug.txt");
  app.Form().FormCreate();
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Error);
  EXPECT_NE(app.boxes.shown[0].text.find(u"debug.txt"), Text::npos);
}

}  // namespace
}  // namespace parlino
