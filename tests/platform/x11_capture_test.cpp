// The capture of the selected text with the real services, against a real X server: another
// process shows the selected text (and copies late, dies or hangs when told), clipboard_owner
// and xclip hold the user's clipboard, xclip reads it back as any program would, xdotool plays
// the user's hands.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/qt_beeper.h"
#include "platform/linux/qt_focus_copy.h"
#include "platform/linux/qt_message_pump.h"
#include "platform/linux/x11_clipboard.h"
#include "platform/linux/x11_hot_key_registrar.h"
#include "platform/linux/x11_input.h"
#include "platform/virtual_keys.h"
#include "reading/selected_text.h"
#include "tests/platform/x11_test_support.h"

// X11 last: its macros clash with Qt's and GoogleTest's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <poll.h>

namespace parlino::platform::linux_impl {
namespace {

using namespace std::chrono_literals;
using testing::ClipboardContents;
using testing::ClipboardData;
using testing::ClipboardOwner;
using testing::ClipboardTargets;
using testing::CopyTarget;
using ::testing::Each;
using testing::PngImage;
using testing::PutOnClipboardWithXclip;
using testing::ReadClipboardContents;
using testing::RunTool;
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

  unsigned ModifiersInEffect() {
    XkbStateRec state{};
    XkbGetState(display_, XkbUseCoreKbd, &state);
    return state.mods;
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

// A client that asks for the clipboard in a way xclip cannot: several targets at once.
class Requestor {
 public:
  struct Answer {
    std::string target;  // empty where the owner marked the target None
    std::string type;
    std::string bytes;  // 32-bit items as 4 bytes each
    bool operator==(const Answer&) const = default;
  };

  Requestor()
      : display_(XOpenDisplay(nullptr)),
        window_(XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0)) {}
  ~Requestor() {
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }
  Requestor(const Requestor&) = delete;
  Requestor& operator=(const Requestor&) = delete;

  std::optional<std::vector<Answer>> ConvertMultiple(const std::vector<std::string>& targets) {
    const Atom atomPair = Intern("ATOM_PAIR");
    const Atom list = Intern("PARLINO_TEST_MULTIPLE");
    std::vector<long> pairs;
    for (std::size_t i = 0; i < targets.size(); ++i) {
      pairs.push_back(static_cast<long>(Intern(targets[i])));
      pairs.push_back(static_cast<long>(Intern("PARLINO_TEST_" + std::to_string(i))));
    }
    XChangeProperty(display_, window_, list, atomPair, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs.data()),
                    static_cast<int>(pairs.size()));
    XConvertSelection(display_, Intern("CLIPBOARD"), Intern("MULTIPLE"), list, window_,
                      CurrentTime);
    XFlush(display_);
    XEvent event;
    if (!WaitFor(
            [&] { return XCheckTypedWindowEvent(display_, window_, SelectionNotify, &event); }) ||
        event.xselection.property != list) {
      return std::nullopt;
    }
    const auto [type, answered] = Read(list);
    std::vector<Answer> answers;
    for (std::size_t i = 0; i + 8 <= answered.size(); i += 8) {
      std::uint32_t target = 0;
      std::uint32_t property = 0;
      std::memcpy(&target, answered.data() + i, 4);
      std::memcpy(&property, answered.data() + i + 4, 4);
      if (target == None) {
        answers.push_back({});
        continue;
      }
      auto [dataType, bytes] = Read(property);
      answers.push_back({NameOf(target), NameOf(dataType), std::move(bytes)});
    }
    return answers;
  }

 private:
  Atom Intern(const std::string& name) { return XInternAtom(display_, name.c_str(), False); }
  std::string NameOf(Atom atom) {
    char* name = XGetAtomName(display_, atom);
    std::string result = name != nullptr ? name : "";
    if (name != nullptr) XFree(name);
    return result;
  }
  std::pair<Atom, std::string> Read(Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* items = nullptr;
    XGetWindowProperty(display_, window_, property, 0, 0x1FFFFFFF, True, AnyPropertyType, &type,
                       &format, &count, &after, &items);
    std::string bytes;
    for (unsigned long i = 0; i < count && items != nullptr; ++i) {
      if (format == 32) {
        const auto item = static_cast<std::uint32_t>(reinterpret_cast<long*>(items)[i]);
        bytes.append(reinterpret_cast<const char*>(&item), 4);
      } else {
        bytes.push_back(static_cast<char>(items[i]));
      }
    }
    if (items != nullptr) XFree(items);
    return {type, bytes};
  }

  Display* display_;
  Window window_;
};

// A clipboard manager as desktops run one, reduced to what leaving needs: it owns
// CLIPBOARD_MANAGER and, asked to SAVE_TARGETS, keeps the clipboard's text/plain.
class StandInClipboardManager {
 public:
  StandInClipboardManager()
      : display_(XOpenDisplay(nullptr)),
        window_(XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0)) {
    XSelectInput(display_, window_, PropertyChangeMask);
    XSetSelectionOwner(display_, Intern("CLIPBOARD_MANAGER"), window_, CurrentTime);
    XSync(display_, False);
    thread_ = std::thread([this] { Run(); });
  }
  ~StandInClipboardManager() {
    stop_ = true;
    thread_.join();
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }
  StandInClipboardManager(const StandInClipboardManager&) = delete;
  StandInClipboardManager& operator=(const StandInClipboardManager&) = delete;

  std::optional<std::string> Kept() {
    const std::lock_guard lock(mutex_);
    return kept_;
  }

 private:
  Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

  // The next event, or nothing once the test ends.
  std::optional<XEvent> NextEvent() {
    while (!stop_) {
      if (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        return event;
      }
      pollfd descriptor{ConnectionNumber(display_), POLLIN, 0};
      poll(&descriptor, 1, 20);
    }
    return std::nullopt;
  }

  void Run() {
    while (const std::optional<XEvent> event = NextEvent()) {
      if (event->type != SelectionRequest ||
          event->xselectionrequest.target != Intern("SAVE_TARGETS")) {
        continue;
      }
      const XSelectionRequestEvent request = event->xselectionrequest;
      const Atom into = Intern("PARLINO_TEST_KEPT");
      XConvertSelection(display_, Intern("CLIPBOARD"), Intern("text/plain"), into, window_,
                        CurrentTime);
      std::optional<XEvent> answer;
      do {
        answer = NextEvent();
      } while (answer && answer->type != SelectionNotify);
      if (!answer) return;
      Atom type = None;
      int format = 0;
      unsigned long count = 0;
      unsigned long after = 0;
      unsigned char* bytes = nullptr;
      XGetWindowProperty(display_, window_, into, 0, 0x1FFFFFFF, True, AnyPropertyType, &type,
                         &format, &count, &after, &bytes);
      if (bytes != nullptr) {
        const std::lock_guard lock(mutex_);
        kept_ = std::string(reinterpret_cast<const char*>(bytes), count);
        XFree(bytes);
      }
      XEvent reply{};
      reply.xselection.type = SelectionNotify;
      reply.xselection.requestor = request.requestor;
      reply.xselection.selection = request.selection;
      reply.xselection.target = request.target;
      reply.xselection.property = request.property;
      reply.xselection.time = request.time;
      XSendEvent(display_, request.requestor, False, NoEventMask, &reply);
      XFlush(display_);
    }
  }

  Display* display_;
  Window window_;
  std::atomic<bool> stop_ = false;
  std::mutex mutex_;
  std::optional<std::string> kept_;
  std::thread thread_;
};

class X11CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(clipboard.Restore({}));
    ASSERT_TRUE(WaitFor([] { return ClipboardTargets().isEmpty(); }));
  }

  X11Clipboard clipboard;
  QtFocusCopy focusCopy;
  X11Input input;
  SystemClock clock;
  QtMessagePump pump;
  reading::SelectedTextCapture capture{{clipboard, focusCopy, input, clock, pump},
                                       [](TextView raw) { return Text(raw); }};
};

// What the user's clipboard may hold, put there by another program.
struct UserClipboard {
  const char* name;
  std::vector<std::pair<QString, QByteArray>> formats;  // offered through Qt
  QString xclipType;                                    // or one format through xclip
  QByteArray xclipData;
};

std::vector<UserClipboard> UserClipboards() {
  return {
      {"text with non-Latin characters", {{"text/plain", "Ωmega – ünïcödé ✓ 日本語"}}, {}, {}},
      {"text/html beside its text",
       {{"text/html", "<b>bold</b> Ω"}, {"text/plain", "bold Ω"}},
       {},
       {}},
      {"image/png", {{"image/png", PngImage()}}, {}, {}},
      {"text/uri-list, through xclip",
       {},
       "text/uri-list",
       "file:///tmp/a%20b.txt\r\nfile:///tmp/%CE%A9.txt\r\n"},
      {"a megabyte of text, sent in pieces both ways",
       {{"text/plain", QByteArray(1 << 20, 'w')}},
       {},
       {}},
      {"nothing", {}, {}, {}},
  };
}

void PutOnTheClipboard(const UserClipboard& user, std::unique_ptr<ClipboardOwner>& owner,
                       X11Clipboard& clipboard) {
  if (!user.formats.empty()) {
    owner = std::make_unique<ClipboardOwner>(user.formats);
    ASSERT_TRUE(owner->Ready());
  } else if (!user.xclipType.isEmpty()) {
    PutOnClipboardWithXclip(user.xclipType, user.xclipData);
  } else {
    ASSERT_TRUE(clipboard.Restore({}));
    ASSERT_TRUE(WaitFor([] { return ClipboardTargets().isEmpty(); }));
  }
}

TEST_F(X11CaptureTest, ReadsTheSelectionAndGivesBackEveryTargetByteForByte) {
  for (const UserClipboard& user : UserClipboards()) {
    SCOPED_TRACE(user.name);
    std::unique_ptr<ClipboardOwner> owner;
    PutOnTheClipboard(user, owner, clipboard);
    const ClipboardContents before = ReadClipboardContents();
    CopyTarget target("line", QString::fromUtf8("Grüße aus Köln — 3 × ✓"));
    ASSERT_TRUE(target.Ready());

    EXPECT_EQ(capture.GetSelectedText(), u"Grüße aus Köln — 3 × ✓");

    EXPECT_EQ(ReadClipboardContents(), before);
  }
}

TEST_F(X11CaptureTest, ApplicationsThatCopyLateDieOrHangCostTheUserNothing) {
  struct StandIn {
    const char* name;
    QStringList options;
    Text expected;
  };
  const std::vector<StandIn> standIns = {
      {"copies after 330 ms: waited for", {"--delay=330"}, u"slow but sure"},
      {"dies right after taking the clipboard", {"--then=die"}, u""},
      {"stops answering once it holds the clipboard", {"--then=stop"}, u""},
  };
  for (const StandIn& standIn : standIns) {
    SCOPED_TRACE(standIn.name);
    ClipboardOwner owner({{"text/plain", "the user's own – text"}, {"text/html", "<i>own</i>"}});
    ASSERT_TRUE(owner.Ready());
    const ClipboardContents before = ReadClipboardContents();
    CopyTarget target("line", "slow but sure", standIn.options);
    ASSERT_TRUE(target.Ready());

    EXPECT_EQ(capture.GetSelectedText(), standIn.expected);

    EXPECT_EQ(ReadClipboardContents(), before);
  }
}

TEST_F(X11CaptureTest, AnApplicationThatCopiesNothingLeavesTheClipboardWithItsOwner) {
  ClipboardOwner owner({{QString("text/plain"), QByteArray("already there")}});
  ASSERT_TRUE(owner.Ready());
  const ClipboardContents before = ReadClipboardContents();
  // A window that ignores Ctrl+C: the clipboard's own text is read, and nobody took it over.
  CopyTarget target("line", "never copied", {"--delay=60000"});
  ASSERT_TRUE(target.Ready());

  EXPECT_EQ(capture.GetSelectedText(), u"already there");
  EXPECT_FALSE(clipboard.OwnerChanged());
  EXPECT_EQ(ReadClipboardContents(), before);
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

TEST_F(X11CaptureTest, CtrlHeldThroughTwoReadingsLeavesTheDocumentAlone) {
  X11HotKeyRegistrar registrar;
  std::vector<Text> read;
  ASSERT_TRUE(
      registrar
          .Register(kHotKeyCtrl | vk::kBack, [&] { read.push_back(capture.GetSelectedText()); })
          .has_value());
  CopyTarget target("line", "read twice", {"--report-changes"});
  ASSERT_TRUE(target.Ready());
  Observer observer;

  // Ctrl down once, Backspace tapped twice: a natural "read it again".
  Xdotool({"keydown", "ctrl"});
  Xdotool({"key", "BackSpace"});
  const bool first = WaitFor([&] { return read.size() == 1; });
  Xdotool({"key", "BackSpace"});
  const bool second = WaitFor([&] { return read.size() == 2; });
  const bool ctrlKeyDown = observer.IsDown(XK_Control_L);
  const bool ctrlInEffect = observer.ModifiersInEffect() & ControlMask;
  Xdotool({"keyup", "ctrl"});
  // A plain key afterwards types over the selection: the first change the editor reports.
  Xdotool({"type", "x"});
  ASSERT_TRUE(WaitFor([&] { return !target.ReportedTexts().isEmpty(); }));

  EXPECT_TRUE(first);
  EXPECT_TRUE(second);
  EXPECT_THAT(read, Each(Text(u"read twice")));
  EXPECT_TRUE(ctrlKeyDown);
  EXPECT_TRUE(ctrlInEffect);
  EXPECT_EQ(target.ReportedTexts(), QStringList{"x"});
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
  testing::KeyReleaseWatch copyKeys(Qt::Key_C);
  own.installEventFilter(&copyKeys);
  own.setSelection(7, 3);
  own.show();
  own.activateWindow();
  ASSERT_TRUE(WaitFor([&] { return own.isActiveWindow() && own.hasFocus(); }));

  focusCopy.CopyFocusedSelection();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "our");
  EXPECT_EQ(capture.GetSelectedText(), u"our");

  // With another application in front, the program's own fields are left alone.
  // The synthetic Ctrl+C reaches the field through the event loop, maybe only after the capture
  // ended; it copies once more when it does, so it has to be in before the clipboard is cleared.
  ASSERT_TRUE(WaitFor([&] { return copyKeys.Released(); })) << "the field never got Ctrl+C";
  ASSERT_TRUE(clipboard.Restore({}));
  ASSERT_TRUE(WaitFor([] { return ClipboardTargets().isEmpty(); }));
  CopyTarget target("line", "theirs");
  ASSERT_TRUE(target.Ready());
  ASSERT_TRUE(WaitFor([&] { return !own.isActiveWindow(); }));
  focusCopy.CopyFocusedSelection();
  EXPECT_TRUE(ClipboardTargets().isEmpty());
}

TEST_F(X11CaptureTest, WhatTheUserCopiedInTheProgramItselfComesBackAndPastesThere) {
  // Qt's clipboard in this process owns the user's clipboard, then serves it again from the
  // restored snapshot: Qt waits for the answer without running the event loop.
  // Qt claims the clipboard with the time of the last X event it saw, and the server refuses a
  // time before the clipboard's last change (SetUp's). A new title of one of our windows brings
  // Qt a fresh time, as the user's own keys and clicks do.
  QWidget window;
  window.show();
  int titles = 0;
  ASSERT_TRUE(WaitFor([&] {
    window.setWindowTitle(QString::number(++titles));
    QCoreApplication::processEvents();
    QGuiApplication::clipboard()->setText(QString::fromUtf8("copied in Parlino – Ω"));
    return !ClipboardTargets().isEmpty();
  }));
  const ClipboardContents before = ReadClipboardContents();
  CopyTarget target("line", "theirs");
  ASSERT_TRUE(target.Ready());

  EXPECT_EQ(capture.GetSelectedText(), u"theirs");

  EXPECT_EQ(ReadClipboardContents(), before);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("copied in Parlino – Ω"));
}

TEST(X11ClipboardTest, KeepsEveryFormatAndReadsOnlyText) {
  X11Clipboard clipboard;
  const QByteArray png = PngImage();
  PutOnClipboardWithXclip("image/png", png);
  Text text = u"unchanged";
  EXPECT_FALSE(clipboard.ReadText(text, 1s));
  EXPECT_EQ(text, u"unchanged");

  // xclip lists TARGETS and its one format; the list stays as it was.
  const ClipboardSnapshot snapshot = clipboard.Backup(1s);
  EXPECT_EQ(snapshot, (ClipboardSnapshot{ClipboardFormat::ListedOnly("TARGETS"),
                                         ClipboardFormat("image/png", png.toStdString())}));

  PutOnClipboardWithXclip("UTF8_STRING", QString::fromUtf8("Ωmega").toUtf8());
  EXPECT_TRUE(clipboard.ReadText(text, 1s));
  EXPECT_EQ(text, u"Ωmega");
  PutOnClipboardWithXclip("STRING", "caf\xe9");  // Latin-1, as STRING is
  EXPECT_TRUE(clipboard.ReadText(text, 1s));
  EXPECT_EQ(text, u"café");

  const ClipboardSnapshot mixed = {{"text/html", "<i>x</i>"}, {"image/png", png.toStdString()}};
  ASSERT_TRUE(clipboard.Restore(mixed));
  EXPECT_EQ(clipboard.Backup(1s), mixed);
  EXPECT_EQ(ClipboardTargets(),
            QStringList({"TARGETS", "TIMESTAMP", "MULTIPLE", "text/html", "image/png"}));
  EXPECT_EQ(ClipboardData("text/html"), "<i>x</i>");
  EXPECT_FALSE(clipboard.ReadText(text, 1s));

  EXPECT_TRUE(clipboard.Restore({}));
  EXPECT_TRUE(ClipboardTargets().isEmpty());
}

TEST(X11ClipboardTest, ReadsTheHighlightedTextAndLeavesTheClipboardAlone) {
  X11Clipboard clipboard;
  PutOnClipboardWithXclip("UTF8_STRING", "the user's clipboard");
  const ClipboardContents before = ReadClipboardContents();
  Text text = u"unchanged";
  {
    CopyTarget target("line", QString::fromUtf8("highlighted elsewhere – Ω"), {"--highlight"});
    ASSERT_TRUE(target.Ready());
    EXPECT_TRUE(clipboard.ReadPrimaryText(text, 1s));
    EXPECT_EQ(text, u"highlighted elsewhere – Ω");
  }
  // The owner is gone, and the highlighted text with it.
  ASSERT_TRUE(WaitFor([&] { return !clipboard.ReadPrimaryText(text, 1s); }));
  EXPECT_EQ(text, u"highlighted elsewhere – Ω");

  // Text highlighted in the program itself: its own Qt answers while the read waits.
  QGuiApplication::clipboard()->setText("highlighted in Parlino", QClipboard::Selection);
  EXPECT_TRUE(clipboard.ReadPrimaryText(text, 1s));
  EXPECT_EQ(text, u"highlighted in Parlino");
  QGuiApplication::clipboard()->clear(QClipboard::Selection);

  EXPECT_EQ(ReadClipboardContents(), before);
}

TEST(X11ClipboardTest, AnswersMultipleAndTimestampAsICCCMAsks) {
  X11Clipboard clipboard;
  const ClipboardSnapshot snapshot = {ClipboardFormat::ListedOnly("TARGETS"),
                                      ClipboardFormat::ListedOnly("DELETE"),
                                      {"text/html", "<i>x</i>"},
                                      {"TEXT", "Ω", "UTF8_STRING"}};
  ASSERT_TRUE(clipboard.Restore(snapshot));

  Requestor requestor;
  const auto answers =
      requestor.ConvertMultiple({"text/html", "TEXT", "TIMESTAMP", "DELETE", "image/png"});
  ASSERT_TRUE(answers.has_value());
  ASSERT_EQ(answers->size(), 5u);
  EXPECT_EQ((*answers)[0], (Requestor::Answer{"text/html", "text/html", "<i>x</i>"}));
  EXPECT_EQ((*answers)[1], (Requestor::Answer{"TEXT", "UTF8_STRING", "Ω"}));
  EXPECT_EQ((*answers)[2].type, "INTEGER");
  EXPECT_EQ((*answers)[2].bytes.size(), 4u);  // the time the clipboard was taken
  EXPECT_NE((*answers)[2].bytes, std::string(4, '\0'));
  // What cannot be given is marked None in the request's list.
  EXPECT_EQ((*answers)[3].target, "");
  EXPECT_EQ((*answers)[4].target, "");
  // The list comes back as the snapshot had it.
  EXPECT_EQ(ClipboardTargets(), QStringList({"TARGETS", "DELETE", "text/html", "TEXT"}));
}

TEST(X11ClipboardTest, LeavingHandsTheClipboardToAClipboardManager) {
  StandInClipboardManager manager;
  {
    X11Clipboard clipboard;
    ASSERT_TRUE(clipboard.Restore({{"text/plain", "kept after Parlino"}}));
  }
  EXPECT_EQ(manager.Kept(), "kept after Parlino");
}

TEST(X11ClipboardTest, SeesEveryNewOwnerButItself) {
  X11Clipboard clipboard;
  CopyTarget target("line", "copied twice");
  ASSERT_TRUE(target.Ready());
  clipboard.WatchOwner();
  Xdotool({"key", "ctrl+c"});
  ASSERT_TRUE(WaitFor([&] { return clipboard.OwnerChanged(); }));

  // The owner that takes the clipboard again is a change as well.
  clipboard.WatchOwner();
  EXPECT_FALSE(clipboard.OwnerChanged());
  Xdotool({"key", "ctrl+c"});
  EXPECT_TRUE(WaitFor([&] { return clipboard.OwnerChanged(); }));

  // Taking it over itself is none: the backup's round trip has brought the notification in.
  clipboard.WatchOwner();
  ASSERT_TRUE(clipboard.Restore({{"text/plain", "ours"}}));
  EXPECT_EQ(clipboard.Backup(1s), ClipboardSnapshot({{"text/plain", "ours"}}));
  EXPECT_FALSE(clipboard.OwnerChanged());
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
