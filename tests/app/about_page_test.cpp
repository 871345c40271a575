#include <gtest/gtest.h>
#include <QDate>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app/ui/pages/about_page.h"
#include "app/ui/widgets/gradient.h"
#include "app/ui/widgets/hyper_label.h"
#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using app::Rgb;
using testing::AppFixture;
using testing::Control;

Text HelpPage(const AppFixture& app, const char* page) {
  return FromUtf8((app.dir.path() / "help" / page).string());
}

TEST(AboutPage, TheLinksOpenTheHelpPagesInTheirColours) {
  AppFixture app;
  app.Form().FormCreate();
  app.shell.opened.clear();
  const char* const links[] = {"HyperLabel1", "HyperLabel2", "HyperLabel3"};
  for (const char* name : links) {
    auto* link = Control<app::THyperLabel>(app.Form(), name);
    EXPECT_EQ(link->ColorLeave(), 9981440u);
    EXPECT_EQ(link->ColorEnter(), 12937777u);
    EXPECT_TRUE(link->font().bold());
    link->resize(link->sizeHint());
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(2, 2));
  }
  EXPECT_EQ(app.shell.opened,
            (std::vector<Text>{HelpPage(app, "index.html"), HelpPage(app, "about.html"),
                               HelpPage(app, "support.html")}));
  EXPECT_EQ(Control<QLabel>(app.Form(), "HyperLabel1")->text(), "Parlino user's guide");
}

TEST(AboutPage, TheCreditLineHoldsThisYearOnceTheStartUpRanTwice) {
  AppFixture app;
  app.Form().FormCreate();
  app.Form().FormCreate();
  const QString year = QString::number(QDate::currentDate().year());
  EXPECT_EQ(Control<QLabel>(app.Form(), "Label8")->text(),
            "Copyright (c) 2004-" + year + " The Parlino developers");
}

struct Colours {
  app::Colour begin, end;
  bool operator==(const Colours&) const = default;
};

Colours Of(AppFixture& app, const char* name) {
  auto* gradient = Control<app::TGradient>(app.Form(), name);
  return {gradient->ColorBegin(), gradient->ColorEnd()};
}

TEST(AboutPage, TheEasterEggCyclesComplementaryColoursAndPutsTheDesignBack) {
  AppFixture app;
  app::TAboutPage& about = app.Form().About();
  const Colours design3{Rgb(255, 255, 255), 14192227}, design1{14192227, Rgb(255, 255, 255)};
  EXPECT_EQ(Of(app, "Gradient3"), design3);
  EXPECT_EQ(Of(app, "Gradient1"), design1);
  EXPECT_EQ(Of(app, "Gradient2"), design1);

  about.SetEasterEgg(true);
  EXPECT_TRUE(Control<QTimer>(app.Form(), "EasterEgg1Timer")->isActive());
  EXPECT_EQ(Control<QTimer>(app.Form(), "EasterEgg1Timer")->interval(), 300);
  about.ShowEasterEggColours(Rgb(0, 1, 200));
  const Colours cycled{Rgb(0, 255, 56), Rgb(0, 1, 200)};  // (256 - c) mod 256 of each channel
  EXPECT_EQ(Of(app, "Gradient3"), (Colours{cycled.end, cycled.begin}));
  EXPECT_EQ(Of(app, "Gradient1"), cycled);
  EXPECT_EQ(Of(app, "Gradient2"), cycled);

  about.EasterEgg1TimerTimer();  // a random A, and B its complement
  const Colours ticked = Of(app, "Gradient3");
  for (const auto& [a, b] : {std::pair{app::Red(ticked.begin), app::Red(ticked.end)},
                             std::pair{app::Green(ticked.begin), app::Green(ticked.end)},
                             std::pair{app::Blue(ticked.begin), app::Blue(ticked.end)}}) {
    EXPECT_EQ((a + b) % 256, 0);
  }

  about.SetEasterEgg(false);
  EXPECT_FALSE(Control<QTimer>(app.Form(), "EasterEgg1Timer")->isActive());
  EXPECT_EQ(Of(app, "Gradient3"), design3);
  EXPECT_EQ(Of(app, "Gradient1"), design1);
  EXPECT_EQ(Of(app, "Gradient2"), design1);
}

}  // namespace
}  // namespace parlino
