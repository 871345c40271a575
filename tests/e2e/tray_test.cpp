// The tray icon in a real notification area: Debian's trayer is the tray host, the mouse clicks
// go through the X server, and the window, its pages and its menu are the program's own.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <cstdlib>
#include <optional>

#include "app/entry/linux_services.h"
#include "app/ui/frm_main.h"
#include "app/ui/tray/tray_menu.h"
#include "tests/fakes/temp_dir.h"
#include "tests/platform/x11_test_support.h"

// X11 last: its macros clash with Qt's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace parlino::testing {
namespace {

using namespace std::chrono_literals;

// The tray host, at the top right corner of the screen.
class Trayer {
 public:
  Trayer() { Start(); }
  ~Trayer() { Stop(); }
  Trayer(const Trayer&) = delete;
  Trayer& operator=(const Trayer&) = delete;

  void Start() {
    process_.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "request",
                              "--height", "24", "--SetDockType", "false"});
    ASSERT_TRUE(process_.waitForStarted());
  }
  void Stop() {
    process_.terminate();
    process_.waitForFinished();
  }

 private:
  QProcess process_;
};

// Where a window of the X server lies on the screen, and whether the tray host holds it.
class XWindows {
 public:
  XWindows() : display_(XOpenDisplay(nullptr)) {}
  ~XWindows() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  XWindows(const XWindows&) = delete;
  XWindows& operator=(const XWindows&) = delete;

  // True when one of the window's ancestors belongs to trayer.
  bool HeldByTrayer(unsigned long window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    for (Window at = window; at != 0 && at != DefaultRootWindow(display_); at = parent) {
      if (!XQueryTree(display_, at, &root, &parent, &children, &count)) return false;
      if (children != nullptr) XFree(children);
      XClassHint hint{};
      if (at != window && XGetClassHint(display_, at, &hint)) {
        const bool trayer = std::string(hint.res_class) == "trayer";
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (trayer) return true;
      }
    }
    return false;
  }

  // Where the window shows on the screen; empty while it is not shown.
  QRect Geometry(unsigned long window) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display_, window, &attributes) ||
        attributes.map_state != IsViewable) {
      return QRect();
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
    return QRect(x, y, attributes.width, attributes.height);
  }

 private:
  Display* display_;
};

// The widget Qt shows in the tray for the icon; none while no tray holds it.
QWidget* TrayIconWidget() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (QByteArray(widget->metaObject()->className()) == "QSystemTrayIconSys" &&
        widget->isVisible()) {
      return widget;
    }
  }
  return nullptr;
}

void Click(const QPoint& at, const QString& button, int times = 1) {
  RunTool("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
                      "--repeat", QString::number(times), "--delay", "80", button});
}

// Pictures of the screen go beside the test program, for a person to look at: the whole screen,
// and the part around `detail` enlarged.
QString SaveScreen(const QString& name, const QRect& detail) {
  const QString path = QCoreApplication::applicationDirPath() + "/" + name + ".png";
  const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
  screen.save(path);
  const QString detailPath = QCoreApplication::applicationDirPath() + "/" + name + "_detail.png";
  screen.copy(detail).scaled(detail.size() * 2).save(detailPath);
  std::printf("screenshots: %s %s\n", path.toUtf8().constData(), detailPath.toUtf8().constData());
  return path;
}

class Tray : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }

  Tray() {
    EXPECT_TRUE(WaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }))
        << "trayer did not take the tray";
    form.FormCreate();
  }

  // The icon once the tray host holds it, shows it and has stopped moving it.
  std::optional<QRect> EmbeddedIcon() {
    QRect seen;
    int sameTimes = 0;
    const bool settled = WaitFor([&] {
      QWidget* widget = TrayIconWidget();
      const QRect now = widget != nullptr && windows.HeldByTrayer(widget->winId())
                            ? windows.Geometry(widget->winId())
                            : QRect();
      sameTimes = !now.isEmpty() && now == seen ? sameTimes + 1 : 0;
      seen = now;
      return sameTimes >= 3;
    });
    if (!settled) return std::nullopt;
    return seen;
  }

  app::TTrayMenu* Menu() { return form.findChild<app::TTrayMenu*>("TrayMenu"); }
  QTabWidget* Pages() { return form.findChild<QTabWidget*>("Pages"); }

  // Opens the menu with a right click on the icon.
  bool OpenMenu() {
    const std::optional<QRect> icon = EmbeddedIcon();
    if (!icon) return false;
    // A click while the host is still busy with the icon can go astray: then it is repeated.
    for (int attempt = 0; attempt < 3; ++attempt) {
      Click(icon->center(), "3");
      if (WaitFor([&] { return Menu()->isVisible(); }, 3s)) return true;
    }
    return false;
  }

  void ClickItem(const char* name) {
    QAction* item = Menu()->findChild<QAction*>(name);
    ASSERT_NE(item, nullptr) << name;
    Click(Menu()->geometry().topLeft() + Menu()->actionGeometry(item).center(), "1");
  }

  static inline TempDir dir_;
  Trayer trayer;
  XWindows windows;
  app::LinuxServices services;
  app::AppContext context = services.Context({dir_.path(), dir_.path()}, {"parlino"});
  app::TfrmMain form{context};
};

TEST_F(Tray, IconAppearsAndItsMenuOpensOnARightClick) {
  const std::optional<QRect> icon = EmbeddedIcon();
  ASSERT_TRUE(icon) << "the icon did not appear in the tray";
  ASSERT_TRUE(OpenMenu()) << "a right click did not open the menu";
  const QString shot =
      SaveScreen("tray_menu", Menu()->geometry().united(*icon).adjusted(-8, -8, 8, 8));

  // The strip as the X server shows it: 16 bands, then 4 pixels of the end colour.
  const QImage screen(shot);
  const QPoint menu = Menu()->geometry().topLeft();
  const app::Colour end = Menu()->StripEnd();
  const QRgb last = screen.pixel(menu + QPoint(19, Menu()->height() / 2));
  EXPECT_EQ(last, qRgb(end & 0xFF, end >> 8 & 0xFF, end >> 16 & 0xFF));
  const app::Colour start = Menu()->StripStart();
  EXPECT_EQ(screen.pixel(menu + QPoint(0, Menu()->height() / 2)),
            qRgb(start & 0xFF, start >> 8 & 0xFF, start >> 16 & 0xFF));
  Menu()->hide();
}

TEST_F(Tray, OptionsShowsTheGeneralTabAndADoubleClickTheTabLastShown) {
  form.ShowOnTab(app::TfrmMain::kAboutTab);
  form.hide();
  ASSERT_TRUE(OpenMenu());
  ClickItem("Options1");
  EXPECT_TRUE(WaitFor([&] { return form.isVisible(); })) << "Options... did not show the window";
  EXPECT_EQ(Pages()->currentIndex(), 0);

  Pages()->setCurrentIndex(3);
  form.hide();
  const std::optional<QRect> icon = EmbeddedIcon();
  ASSERT_TRUE(icon);
  Click(icon->center(), "1", 2);
  EXPECT_TRUE(WaitFor([&] { return form.isVisible(); })) << "a double click did not show it";
  EXPECT_EQ(Pages()->currentIndex(), 3);
}

TEST_F(Tray, RestartedTrayHostGetsTheIconBack) {
  ASSERT_TRUE(EmbeddedIcon());
  trayer.Stop();
  ASSERT_TRUE(WaitFor([] { return TrayIconWidget() == nullptr; }));
  trayer.Start();
  EXPECT_TRUE(EmbeddedIcon()) << "the icon did not come back";
  ASSERT_TRUE(OpenMenu());
}

}  // namespace
}  // namespace parlino::testing
