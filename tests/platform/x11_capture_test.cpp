// The capture of the selected text with the real services, against a real X server: another
// process shows the selected text, xclip plays the user's clipboard, xdotool the user's hands.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

#include "platform/linux/qt_beeper.h"
#include "platform/linux/qt_clipboard.h"
#include "platform/linux/qt_focus_copy.h"
#include "platform/linux/qt_message_pump.h"
#include "platform/linux/x11_hot_key_registrar.h"
#include "platform/linux/x11_input.h"
#include "platform/virtual_keys.h"
#include "reading/selected_text.h"
#include "tests/platform/x11_test_support.h"

// X11 last: its macros clash with Qt's and GoogleTest's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace parlino::platform::linux_impl {
namespace {

using namespace std::chrono_literals;
using testing::ClipboardData;
using testing::ClipboardTargets;
using testing::CopyTarget;
using testing::PngImage;
using testing::PutOnClipboardWithXclip;
using testing::RunTool;
using testing::Settle;
using testing::WaitFor;

void Xdotool(const QStringList& arguments) {
  RunTool("xdotool", arguments);
}

// Another client of the display, to look at the keyboard and hear the bell.
class Observer {
 public:
  Observer() : display_(XOpenDisplay(nullptr)) {}
  ~Observer() { XCloseDisplay(display_); }
  Observer(const Observer&) = delete;
  Observer& operator=(const Observer&) = delete;

  bool IsDown(KeySym keysym) {
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    const KeyCode keycode = XKeysymToKeycode(display_, keysym);
    return (static_cast<unsigned char>(keys[keycode / 8]) >> (keycode % 8)) & 1u;
  }

  void ListenToTheBell() {
    int opcode = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    XkbQueryExtension(display_, &opcode, &xkbEvent_, &error, &major, &minor);
    XkbSelectEvents(display_, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
    XSync(display_, False);
  }

  bool HeardTheBell() {
    return WaitFor([&] {
      while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == xkbEvent_ &&
            reinterpret_cast<XkbAnyEvent*>(&event)->xkb_type == XkbBellNotify) {
          return true;
        }
      }
      return false;
    });
  }

 private:
  Display* display_;
  int xkbEvent_ = 0;
};

class X11CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override { QGuiApplication::clipboard()->clear(); }
  void TearDown() override { Settle(50ms); }

  QtClipboard clipboard;
  QtFocusCopy focusCopy;
  X11Input input;
  SystemClock clock;
  QtMessagePump pump;
  reading::SelectedTextCapture capture{{clipboard, focusCopy, input, clock, pump},
                                       [](TextView raw) { return Text(raw); }};
};

TEST_F(X11CaptureTest, ReadsTheSelectionInFrontAndGivesBackTheUsersImage) {
  const QByteArray png = PngImage();
  PutOnClipboardWithXclip("image/png", png);
  CopyTarget target("line", QString::fromUtf8("Grüße aus Köln — 3 × ✓"));
  ASSERT_TRUE(target.Ready());

  EXPECT_EQ(capture.GetSelectedText(), u"Grüße aus Köln — 3 × ✓");

  const QStringList targets = ClipboardTargets();
  EXPECT_TRUE(targets.contains("image/png")) << targets.join(' ').toStdString();
  EXPECT_FALSE(targets.contains("UTF8_STRING")) << "the selection stayed on the clipboard";
  EXPECT_EQ(ClipboardData("image/png"), png);
}

TEST_F(X11CaptureTest, AnApplicationThatCopiesLateIsReadOnARetry) {
  const QByteArray png = PngImage();
  PutOnClipboardWithXclip("image/png", png);
  CopyTarget target("line", "slow but sure", 250);
  ASSERT_TRUE(target.Ready());

  EXPECT_EQ(capture.GetSelectedText(), u"slow but sure");
  EXPECT_EQ(ClipboardData("image/png"), png);
}

TEST_F(X11CaptureTest, GivesBackTheUsersText) {
  PutOnClipboardWithXclip("UTF8_STRING", QString::fromUtf8("the user's own – text").toUtf8());
  CopyTarget target("text", "a paragraph\nof the editor");
  ASSERT_TRUE(target.Ready());

  EXPECT_EQ(capture.GetSelectedText(), u"a paragraph\nof the editor");
  EXPECT_EQ(QString::fromUtf8(ClipboardData("UTF8_STRING")),
            QString::fromUtf8("the user's own – text"));
}

TEST_F(X11CaptureTest, AnEmptyClipboardIsEmptyAgainAfterwards) {
  ASSERT_TRUE(WaitFor([] { return ClipboardTargets().isEmpty(); }));
  CopyTarget target("line", "selected");
  ASSERT_TRUE(target.Ready());

  EXPECT_EQ(capture.GetSelectedText(), u"selected");
  EXPECT_TRUE(ClipboardTargets().isEmpty());
}

TEST_F(X11CaptureTest, TheApplicationGetsAPlainCtrlCWhileTheUserHoldsShift) {
  CopyTarget target("line", "copied without Shift");
  ASSERT_TRUE(target.Ready());
  Observer observer;
  Xdotool({"keydown", "shift"});
  ASSERT_TRUE(observer.IsDown(XK_Shift_L));

  // Ctrl+Shift+C copies nothing in a line edit; only a plain Ctrl+C brings the text.
  const Text text = capture.GetSelectedText();
  const bool shiftDownAgain = observer.IsDown(XK_Shift_L);
  Xdotool({"keyup", "shift"});
  EXPECT_EQ(text, u"copied without Shift");
  EXPECT_TRUE(shiftDownAgain);
  EXPECT_FALSE(observer.IsDown(XK_Control_L));
}

TEST_F(X11CaptureTest, AHotKeyStillHeldDoesNotKeepTheCopyFromTheApplication) {
  X11HotKeyRegistrar registrar;
  Text read;
  ASSERT_TRUE(registrar.Register(kHotKeyCtrl | vk::kBack, [&] { read = capture.GetSelectedText(); })
                  .has_value());
  CopyTarget target("line", "read by the hot key");
  ASSERT_TRUE(target.Ready());

  Xdotool({"keydown", "ctrl+BackSpace"});
  const bool done = WaitFor([&] { return !read.empty(); });
  Xdotool({"keyup", "BackSpace", "keyup", "ctrl"});
  ASSERT_TRUE(done);
  EXPECT_EQ(read, u"read by the hot key");
}

TEST_F(X11CaptureTest, CopiesFromTheProgramsOwnFocusedLineEdit) {
  QLineEdit own("one of our own fields");
  own.setSelection(7, 3);
  own.show();
  own.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return own.isActiveWindow() && own.hasFocus(); }));

  focusCopy.CopyFocusedSelection();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "our");
  EXPECT_EQ(capture.GetSelectedText(), u"our");

  // With another application in front, the program's own fields are left alone.
  QGuiApplication::clipboard()->clear();
  CopyTarget target("line", "theirs");
  ASSERT_TRUE(target.Ready());
  ASSERT_TRUE(WaitFor([&] { return !own.isActiveWindow(); }));
  focusCopy.CopyFocusedSelection();
  EXPECT_TRUE(ClipboardTargets().isEmpty());
}

TEST_F(X11CaptureTest, TheClipboardKeepsEveryFormatAndReadsOnlyText) {
  const QByteArray png = PngImage();
  PutOnClipboardWithXclip("image/png", png);
  Text text = u"unchanged";
  EXPECT_FALSE(clipboard.ReadText(text));
  EXPECT_EQ(text, u"unchanged");

  const ClipboardSnapshot snapshot = clipboard.Backup();
  ASSERT_EQ(snapshot.size(), 1u);  // neither the protocol's targets nor Qt's image marker
  EXPECT_EQ(snapshot[0].mimeType, "image/png");
  EXPECT_EQ(snapshot[0].data, png.toStdString());

  PutOnClipboardWithXclip("UTF8_STRING", QString::fromUtf8("Ωmega").toUtf8());
  EXPECT_TRUE(clipboard.ReadText(text));
  EXPECT_EQ(text, u"Ωmega");

  const ClipboardSnapshot mixed = {{"text/html", "<i>x</i>"}, {"image/png", png.toStdString()}};
  ASSERT_TRUE(clipboard.Restore(mixed));
  EXPECT_EQ(clipboard.Backup(), mixed);
  EXPECT_EQ(ClipboardData("text/html"), "<i>x</i>");
  EXPECT_FALSE(clipboard.ReadText(text));

  EXPECT_TRUE(clipboard.Restore({}));
  EXPECT_TRUE(ClipboardTargets().isEmpty());
}

TEST(X11InputTest, SeesTheMiddleButton) {
  X11Input input;
  EXPECT_FALSE(input.MiddleButtonDown());
  Xdotool({"mousedown", "2"});
  const bool down = input.MiddleButtonDown();
  Xdotool({"mouseup", "2"});
  EXPECT_TRUE(down);
  EXPECT_FALSE(input.MiddleButtonDown());

  Xdotool({"mousedown", "1"});
  EXPECT_FALSE(input.MiddleButtonDown());
  Xdotool({"mouseup", "1"});
}

TEST(QtBeeperTest, RingsTheBell) {
  Observer observer;
  observer.ListenToTheBell();
  QtBeeper().WarningBeep();
  EXPECT_TRUE(observer.HeardTheBell());
}

}  // namespace
}  // namespace parlino::platform::linux_impl
