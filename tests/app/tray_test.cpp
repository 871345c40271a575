// The tray icon's menu: its items, what each does, and the strip along its left edge.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableWidget>

#include "app/ui/tray/tray_menu.h"
#include "tests/app/app_fixture.h"
#include "tests/fakes/loopback_http_server.h"
#include "voices/frm_voices.h"

namespace parlino {
namespace {

using testing::AppFixture;

struct Started : AppFixture {
  Started() { Form().FormCreate(); }
  app::TTrayMenu* Menu() { return Control<app::TTrayMenu>("TrayMenu"); }
  QAction* Item(const char* name) { return testing::Control<QAction>(*Menu(), name); }
  int Tab() { return Control<QTabWidget>("Pages")->currentIndex(); }
};

TEST(TrayMenu, ItemsInOrderWithOptionsInBoldAsTheDefault) {
  Started app;
  std::vector<std::pair<std::string, std::string>> items;
  for (const QAction* item : app.Menu()->actions()) {
    items.emplace_back(item->objectName().toStdString(),
                       item->isSeparator() ? "-" : item->text().toStdString());
  }
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Options1", "Options..."},
      {"Configurevoiceslots1", "Configure Voice Slots..."},
      {"Additionalvoices1", "Additional voices..."},
      {"N1", "-"},
      {"Stopreading1", "Pause"},
      {"N2", "-"},
      {"Help1", "Help"},
      {"utorial1", "Tutorial"},
      {"Website1", "Official Website"},
      {"About1", "About..."},
      {"N3", "-"},
      {"Exit1", "Exit"}};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(app.Menu()->defaultAction(), app.Item("Options1"));
  EXPECT_TRUE(app.Item("Options1")->font().bold());
  EXPECT_FALSE(app.Menu()->separatorsCollapsible());
  EXPECT_EQ(app.Control<QSystemTrayIcon>("TrayIcon")->toolTip(), "Parlino!");
  EXPECT_EQ(app.Control<QSystemTrayIcon>("TrayIcon")->contextMenu(), app.Menu());
}

TEST(TrayMenu, ItemsShowTheWindowOnTheirTab) {
  const struct {
    const char* item;
    int tab;
  } cases[] = {{"Options1", 0}, {"Configurevoiceslots1", 2}, {"About1", 4}};
  for (const auto& c : cases) {
    Started app;
    app.Control<QTabWidget>("Pages")->setCurrentIndex(3);
    app.Item(c.item)->trigger();
    EXPECT_TRUE(app.Form().isVisible()) << c.item;
    EXPECT_EQ(app.Tab(), c.tab) << c.item;
  }
}

TEST(TrayMenu, ItemsOpenTheirPages) {
  const struct {
    const char* item;
    const char* opened;  // below the program's folder
  } cases[] = {{"Help1", "help/index.html"},
               {"utorial1", "help/tutorial.html"},
               {"Website1", "help/index.html"}};
  for (const auto& c : cases) {
    Started app;
    app.Item(c.item)->trigger();
    const Text expected = FromUtf8((app.dir / c.opened).lexically_normal().string());
    EXPECT_THAT(app.shell.opened, ::testing::ElementsAre(expected)) << c.item;
    EXPECT_FALSE(app.Form().isVisible()) << c.item;
  }
}

TEST(TrayMenu, AdditionalVoicesOpensThePackagesWindowWhoseExitEndsTheProgram) {
  using testing::LoopbackHttpServer;
  LoopbackHttpServer server([](const std::string&, LoopbackHttpServer::Connection& c) {
    c.Send(LoopbackHttpServer::Head(200, 2) + "MZ");
  });
  Started app;
  testing::WriteBytes(
      app.dir / "add_voices.ini",
      "[Info]\r\nCount=1\r\n[File_1]\r\nTitle=Anna\r\nURL=" + server.Address("/anna.exe") + "\r\n");
  app.Item("Additionalvoices1")->trigger();
  voices::TfrmVoices& window = app.Form().Voices();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
  EXPECT_FALSE(app.Form().isVisible());
  auto* list = testing::Control<QTableWidget>(window, "List");
  ASSERT_EQ(list->rowCount(), 1);

  testing::Control<QPushButton>(window, "btnCheck")->click();
  EXPECT_THAT(app.shell.opened,
              ::testing::ElementsAre(FromUtf8((app.dir / "help/voices.html").string())));

  // "Yes" to exiting after the download ends the program as the tray's Exit does.
  list->item(0, 0)->setCheckState(Qt::Checked);
  app.boxes.answers = {platform::BoxAnswer::Yes};
  testing::Control<QPushButton>(window, "btnDownload")->click();
  QTimer pump;  // the fake message pump's tasks run with the event loop's
  QObject::connect(&pump, &QTimer::timeout, [&] { app.pump.ProcessPendingMessages(); });
  pump.start(1);
  EXPECT_EQ(testing::RunUntilQuit(), 0);
  EXPECT_TRUE(app.Form().ExitRequested);
  EXPECT_EQ(app.shell.opened.back(), FromUtf8((app.dir / "Downloads" / "anna.exe").string()));
  EXPECT_EQ(app.boxes.shown.back().text, voices::kExitNowQuestion);
}

TEST(TrayMenu, DoubleClickShowsTheTabLastShownAndTheHotKeyTheGeneralTab) {
  Started app;
  app.Item("About1")->trigger();
  app.Form().hide();
  emit app.Control<QSystemTrayIcon>("TrayIcon")->activated(QSystemTrayIcon::DoubleClick);
  EXPECT_TRUE(app.Form().isVisible());
  EXPECT_EQ(app.Tab(), 4);

  app.Form().hide();
  ASSERT_TRUE(app.hotKeys.Press(0x407A));  // Ctrl+F11
  EXPECT_TRUE(app.Form().isVisible());
  EXPECT_EQ(app.Tab(), 0);
}

TEST(TrayMenu, LeftStripOfBandsBesideTheItems) {
  Started app;
  app::TTrayMenu& menu = *app.Menu();
  menu.resize(menu.sizeHint());
  const QImage image = menu.grab().toImage();
  ASSERT_GT(image.height(), 100);
  const app::Colour start = menu.StripStart();
  const app::Colour end = menu.StripEnd();
  ASSERT_NE(start, end);

  const auto channel = [](app::Colour colour, int shift) {
    return static_cast<int>(colour >> shift & 0xFF);
  };
  for (const int y : {0, image.height() / 2, image.height() - 1}) {
    for (int x = 0; x < 20; ++x) {
      // 16 bands of one pixel from start to end, then 4 pixels of the end colour.
      const int k = std::min(x, 15);
      const QRgb expected =
          qRgb(channel(start, 0) + app::MulDiv(k, channel(end, 0) - channel(start, 0), 15),
               channel(start, 8) + app::MulDiv(k, channel(end, 8) - channel(start, 8), 15),
               channel(start, 16) + app::MulDiv(k, channel(end, 16) - channel(start, 16), 15));
      EXPECT_EQ(image.pixel(x, y), expected) << x << "," << y;
    }
  }
  // The items begin right of the strip.
  EXPECT_GE(menu.actionGeometry(app.Item("Options1")).left(), 20);
}

}  // namespace
}  // namespace parlino
