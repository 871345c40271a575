// The options window's frame: OK, Cancel, closing, minimizing, Exit, the end of the session and
// the keys typed on the window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>

#include "app/ui/widgets/hot_key_edit.h"
#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::Control;
using ::testing::ElementsAre;
using testing::RunUntilQuit;
using testing::WaitFor;
using Entries = std::vector<std::string>;

constexpr TextView kCloseNotice =
    u"Parlino will now be minimized into the system tray. To restore this window double click on "
    u"program's icon in system tray.";

// An options window after the start-up sequence, with the log on.
struct Started : AppFixture {
  Started() : AppFixture({"/opt/parlino/parlino", "-log"}) {
    Form().FormCreate();
    std::filesystem::remove(dir / "debug.txt");  // the start's entries are not these tests' own
  }
};

TEST(Frame, CancelDiscardsAndTheNextShowReloads) {
  Started app;
  auto& form = app.Form();
  form.show();
  app.Control<app::THotKeyEdit>("Reading_HotKey")->SetHotKey(0x4041);  // Ctrl+A
  app.Control<QPushButton>("btnCancel")->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_FALSE(app.hotKeys.Holds(0x4041));

  form.show();
  EXPECT_EQ(app.Control<app::THotKeyEdit>("Reading_HotKey")->HotKey(), 0x4008);
}

TEST(Frame, OkSavesAndAppliesTheHotKeysAndTheMousePoll) {
  Started app;
  auto& form = app.Form();
  form.show();
  app.Control<app::THotKeyEdit>("Reading_HotKey")->SetHotKey(0x4041);
  app.Control<QCheckBox>("ReadByMouse")->setChecked(false);
  app.Control<QPushButton>("btnOK")->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(app.hotKeys.Holds(0x4041));
  EXPECT_FALSE(app.hotKeys.Holds(0x4008));
  EXPECT_FALSE(app.Control<QTimer>("MouseTimer")->isActive());
  EXPECT_EQ(app.Stored(u"General", u"HotKey"), u"16449");
}

TEST(Frame, CloseRequestSavesAndHidesToTheTrayWithTheNoticeTheFirstTimeOnly) {
  Started app;
  auto& form = app.Form();
  form.show();
  app.Control<QCheckBox>("ReadByMouse")->setChecked(false);
  // A changed hot key is saved, but counts only from the next show on.
  app.Control<app::THotKeyEdit>("Reading_HotKey")->SetHotKey(0x4041);
  form.close();
  EXPECT_FALSE(form.isVisible());
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Information);
  EXPECT_EQ(app.boxes.shown[0].text, kCloseNotice);
  EXPECT_EQ(app.Stored(u"General", u"CloseMsg"), u"1");
  EXPECT_EQ(app.Stored(u"General", u"ReadByMouse"), u"0");
  EXPECT_EQ(app.Stored(u"General", u"HotKey"), u"16449");
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_TRUE(app.Control<QSystemTrayIcon>("TrayIcon")->isVisible());

  form.show();
  EXPECT_TRUE(app.hotKeys.Holds(0x4041));  // the show reloaded and registered it
  form.close();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.LogEntries(), (Entries{"Close : 1", "Close : 2", "Close : 3", "Close : 1",
                                       "Close : 2", "Close : 3"}));
}

TEST(Frame, CloseWithMinimizeToTrayOffEndsTheProgram) {
  Started app;
  auto& form = app.Form();
  form.show();
  app.Control<QCheckBox>("TrayIcon_CheckBox")->setChecked(false);
  QTimer::singleShot(0, &form, [&] { form.close(); });
  EXPECT_EQ(RunUntilQuit(), 0);
  EXPECT_TRUE(app.boxes.shown.empty());
  EXPECT_EQ(app.Stored(u"General", u"MinimizeToTray"), u"0");

  app.form.reset();  // the window's end, as the program's
  EXPECT_TRUE(app.hotKeys.registered.empty());
  EXPECT_EQ(app.LogEntries(), (Entries{"Close : 1", "Close : 2", "Close : 3",
                                       "BeforeCloseActions : 1", "BeforeCloseActions : 2"}));
}

TEST(Frame, ExitWhileSpeakingStopsAtOnceSavesAndEnds) {
  for (const bool shown : {false, true}) {
    Started app;
    auto& form = app.Form();
    if (shown) form.show();
    app.Control<QCheckBox>("ReadByMouse")->setChecked(false);
    app.Control<QPushButton>("btnTestVoice")->click();
    ASSERT_THAT(app.voices.log, ::testing::Contains(::testing::StartsWith("Speak <pitch")));
    app.voices.log.clear();
    QTimer::singleShot(0, &form, [&] { form.Exit1Click(); });
    EXPECT_EQ(RunUntilQuit(), 0) << shown;
    EXPECT_THAT(app.voices.log, ElementsAre("Pause", "Speak  2", "Release")) << shown;
    EXPECT_EQ(app.Stored(u"General", u"ReadByMouse"), u"0") << shown;
    EXPECT_TRUE(app.boxes.shown.empty()) << shown;
    EXPECT_EQ(app.LogEntries(), (Entries{"Close : 1", "Close : 2", "Close : 3"})) << shown;
  }
}

TEST(Frame, EndOfSessionSavesReleasesEverythingAndAsksNothing) {
  Started app;
  auto& form = app.Form();
  form.show();
  app.Control<QCheckBox>("ReadByMouse")->setChecked(false);
  form.WMQueryEndSession();

  EXPECT_TRUE(app.boxes.shown.empty());  // not even the one-time notice
  EXPECT_EQ(app.Stored(u"General", u"CloseMsg"), std::nullopt);
  EXPECT_EQ(app.Stored(u"General", u"ReadByMouse"), u"0");
  EXPECT_TRUE(app.hotKeys.registered.empty());
  EXPECT_FALSE(app.Control<QSystemTrayIcon>("TrayIcon")->isVisible());
  EXPECT_EQ(app.voices.log.back(), "Release");
  EXPECT_TRUE(form.SessionEnding);
  EXPECT_EQ(app.LogEntries(), (Entries{"WMQueryEndSession", "Close : 1", "Close : 2", "Close : 3",
                                       "BeforeCloseActions : 1", "BeforeCloseActions : 2"}));

  // Later close requests pass at once, without saving.
  app.Control<QCheckBox>("ReadByMouse")->setChecked(true);
  EXPECT_TRUE(form.FormCloseQuery());
  EXPECT_EQ(app.Stored(u"General", u"ReadByMouse"), u"0");
  EXPECT_EQ(app.LogEntries().back(), "Close : 1");
}

TEST(Frame, UnwritableLogStopsNeitherTheCloseNorTheRelease) {
  Started app;
  std::filesystem::create_directory(app.dir / "debug.txt");
  app.Control<QCheckBox>("ReadByMouse")->setChecked(false);
  app.Form().WMQueryEndSession();
  EXPECT_EQ(app.Stored(u"General", u"ReadByMouse"), u"0");
  EXPECT_TRUE(app.hotKeys.registered.empty());
  EXPECT_TRUE(app.boxes.shown.empty());
}

TEST(Frame, MinimizingHidesToTheTrayOrMinimizesWithoutOne) {
  Started app;
  auto& form = app.Form();
  form.show();
  form.setWindowState(Qt::WindowMinimized);
  EXPECT_TRUE(WaitFor([&] { return !form.isVisible(); }));
  EXPECT_TRUE(app.Control<QSystemTrayIcon>("TrayIcon")->isVisible());

  // Without a tray the window stays within reach: OK and Cancel minimize it as usual.
  app.notificationArea.available = false;
  form.RestoreOptionsWindow();
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.isMinimized());
  app.Control<QPushButton>("btnCancel")->click();
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(form.isMinimized());
  app.hotKeys.Press(0x407A);  // the options hot key brings it back
  EXPECT_FALSE(form.isMinimized());
}

TEST(Frame, WithoutATrayTheWindowShowsAtStart) {
  AppFixture app({"/opt/parlino/parlino", "-autostart"});
  app.notificationArea.available = false;
  app.Form().FormCreate();
  EXPECT_FALSE(app.Form().StartMinimized());
}

TEST(Frame, FirstActivationConnectsTheModernVoiceOnce) {
  Started app;
  auto& form = app.Form();
  form.SpeechAPI5.Disconnect();
  app.voices.log.clear();
  form.show();
  form.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return form.isActiveWindow(); }));
  EXPECT_THAT(app.voices.log, ElementsAre("CreateVoice"));

  // Activations after the first leave the voice alone.
  form.SpeechAPI5.Disconnect();
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return other.isActiveWindow(); }));
  form.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return form.isActiveWindow(); }));
  EXPECT_THAT(app.voices.log, ElementsAre("CreateVoice", "Release"));
}

TEST(Frame, HelpButtonAndF1OpenTheHelp) {
  Started app;
  auto& form = app.Form();
  form.show();
  app.Control<QPushButton>("btnHelp")->click();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(&form, &f1);
  const Text help = FromUtf8((app.dir / "help" / "index.html").string());
  EXPECT_THAT(app.shell.opened, ElementsAre(help, help));
}

// A key as the user presses it on a control of the window.
void Press(QWidget* control, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(control, &event);
}

void Type(QWidget* control, const char* word) {
  for (const char* c = word; *c != '\0'; ++c) Press(control, Qt::Key_A + (*c - 'a'));
}

TEST(Frame, TypingTheWordTogglesTheEasterEgg) {
  Started app;
  auto& form = app.Form();
  form.show();
  // A label takes no keys: Qt offers each to its parents as well, and it still counts once.
  auto* label = app.Control<QLabel>("Label1");
  Type(label, "brevanta");
  EXPECT_NE(form.windowTitle(), "Parlino!");
  EXPECT_TRUE(form.windowTitle().startsWith("Parlino!"));

  // Another key in between breaks the word; the hot key control sees the keys too.
  auto* edit = app.Control<app::THotKeyEdit>("Reading_HotKey");
  Type(edit, "breva");
  Press(edit, Qt::Key_Shift, Qt::ShiftModifier);
  Type(edit, "nta");
  EXPECT_NE(form.windowTitle(), "Parlino!");
  Type(edit, "xbrevanta");
  EXPECT_EQ(form.windowTitle(), "Parlino!");
}

TEST(Frame, CtrlAltOneOpensTheDataFolder) {
  const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
  const struct {
    int key;
    Qt::KeyboardModifiers held;
    bool opens;
  } cases[] = {
      {Qt::Key_1, ctrlAlt, true},
      {Qt::Key_1, ctrlAlt | Qt::ShiftModifier, false},
      {Qt::Key_1, Qt::ControlModifier, false},
      {Qt::Key_1, ctrlAlt | Qt::KeypadModifier, false},  // the number pad's 1 is another key
      {Qt::Key_2, ctrlAlt, false}};
  for (const auto& c : cases) {
    Started app;
    app.Form().show();
    Press(app.Control<QTabWidget>("Pages"), c.key, c.held);
    if (c.opens) {
      EXPECT_THAT(app.shell.opened, ElementsAre(FromUtf8(app.dir.path().string())));
    } else {
      EXPECT_TRUE(app.shell.opened.empty()) << c.key << " " << c.held;
    }
  }
}

// Every tip of the program stays up for the same time, a control's or a list item's.
TEST(Frame, ToolTipsOfControlsAndListItemsShow) {
  AppFixture app;
  const std::string slot = "Voice=Anna\r\nHotKey=16455\r\nSpeed=150\r\nSAPIVersion=5\r\n";
  testing::WriteBytes(app.dir / "slots.ini", "[Slot_0]\r\n" + slot + "[Slot_1]\r\n" + slot);
  app.Form().FormCreate();
  app.Form().show();
  // The tip's text, and how long it stays up: the interval of the tip's own expiry timer.
  const auto askForTip = [](QWidget* widget, QPoint at) {
    QHelpEvent request(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &request);
    if (!QToolTip::isVisible()) return std::string();
    QString tip = QToolTip::text();
    for (QWidget* shown : QApplication::topLevelWidgets()) {
      if (!shown->inherits("QTipLabel") || !shown->isVisible()) continue;
      for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(shown)) {
        tip += QString(" for %1 ms").arg(timer.interval);
      }
    }
    return tip.toStdString();
  };

  auto* pages = app.Control<QTabWidget>("Pages");
  pages->setCurrentWidget(app.Control<QWidget>("TabSheet1"));
  auto* ignored = app.Control<QWidget>("Ignored_Characters");
  EXPECT_EQ(askForTip(ignored, ignored->rect().center()),
            "This characters will be ignored when reading for 7500 ms");

  pages->setCurrentWidget(app.Control<QWidget>("Slots_Sheet"));
  auto* list = app.Control<QTableWidget>("SlotsList");
  const QRect secondHotKey = list->visualItemRect(list->item(1, 4));
  EXPECT_EQ(askForTip(list->viewport(), secondHotKey.center()), "Used by slot 1 for 7500 ms");
}

TEST(Frame, StartWithTheDesktopNamesNoOtherSystem) {
  AppFixture app;
  EXPECT_EQ(app.Control<QCheckBox>("AutoStart_CheckBox")->text(), "&Load program at startup");
}

}  // namespace
}  // namespace parlino
