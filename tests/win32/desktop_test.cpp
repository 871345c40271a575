// The desktop services under Wine: single instance, message boxes, the shell, global atoms, the
// help viewer, and the message pump they all rely on.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/platform_error.h"
#include "platform/win32/html_help_viewer.h"
#include "platform/win32/win32_global_atoms.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_notification_area.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_single_instance.h"
#include "tests/fakes/temp_dir.h"
#include "tests/win32/win32_test_support.h"

namespace parlino {
namespace {

using namespace platform::win32_impl;
using testing::PumpUntil;
using testing::RunProbe;

TEST(Win32SingleInstance, SecondCopyFindsTheFirst) {
  EXPECT_EQ(RunProbe(L"instance"), 0u);  // nobody holds the marker yet
  Win32SingleInstance first;
  EXPECT_FALSE(first.AnotherCopyRuns());
  EXPECT_EQ(RunProbe(L"instance"), 1u);
  // This process's own marker is not another copy.
  Win32SingleInstance again;
  EXPECT_FALSE(again.AnotherCopyRuns());
}

TEST(Win32SingleInstance, RequestsOfLaterCopiesReachTheRunningOneInOrder) {
  using platform::InstanceRequest;
  Win32SingleInstance running;
  ASSERT_FALSE(running.AnotherCopyRuns());
  // Sent, and dispatched, before the running copy listens: they wait for it. Unknown kinds are
  // dropped.
  EXPECT_EQ(RunProbe(L"hand 3 7 1"), 1u);
  for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
  std::vector<InstanceRequest> received;
  running.ReceiveRequests([&](InstanceRequest request) { received.push_back(request); });
  EXPECT_EQ(RunProbe(L"hand 2"), 1u);
  ASSERT_TRUE(PumpUntil([&] { return received.size() == 3; }));
  EXPECT_EQ(received, (std::vector<InstanceRequest>{InstanceRequest::Options, InstanceRequest::Read,
                                                    InstanceRequest::Pause}));
}

TEST(Win32SingleInstance, AWindowOfAnotherClassWithTheTitleDoesNotCount) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"SomeOtherProgram";
  ASSERT_NE(RegisterClassExW(&windowClass), 0);
  const HWND other = CreateWindowExW(0, L"SomeOtherProgram", L"Parlino!", WS_POPUP, 0, 0, 0, 0,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(RunProbe(L"instance"), 0u);
  DestroyWindow(other);
}

// Answers the message box titled `title` from another thread, as a user would, once it shows,
// and notes what the box showed.
class BoxAnswerer {
 public:
  BoxAnswerer(const wchar_t* title, int button)
      : thread_([this, title, button] {
          HWND box = nullptr;
          for (int i = 0; i < 1000 && box == nullptr; ++i) {
            box = FindWindowW(L"#32770", title);
            if (box == nullptr) Sleep(10);
          }
          if (box == nullptr) return;
          wchar_t text[256] = {};
          GetDlgItemTextW(box, 0xFFFF, text, 256);  // the box's text control
          text_ = text;
          for (const int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
            if (GetDlgItem(box, id) != nullptr) buttons_.push_back(id);
          }
          PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        }) {}
  ~BoxAnswerer() {
    if (thread_.joinable()) thread_.join();
  }

  // Waits for the answering thread; then what the box showed can be read.
  void Join() { thread_.join(); }
  const std::wstring& text() const { return text_; }
  const std::vector<int>& buttons() const { return buttons_; }

 private:
  std::wstring text_;
  std::vector<int> buttons_;
  std::thread thread_;
};

TEST(Win32MessageBoxes, ShowTheTextAndReturnTheAnswer) {
  struct Case {
    platform::BoxButtons buttons;
    int click;
    platform::BoxAnswer answer;
    std::vector<int> shown;
  };
  const Case cases[] = {
      {platform::BoxButtons::Ok, IDOK, platform::BoxAnswer::Ok, {IDOK}},
      {platform::BoxButtons::OkCancel, IDCANCEL, platform::BoxAnswer::Cancel, {IDOK, IDCANCEL}},
      {platform::BoxButtons::YesNo, IDNO, platform::BoxAnswer::No, {IDYES, IDNO}},
      {platform::BoxButtons::YesNoCancel, IDYES, platform::BoxAnswer::Yes, {IDCANCEL, IDYES, IDNO}},
  };
  Win32MessageBoxes boxes;
  for (const Case& c : cases) {
    BoxAnswerer answerer(L"Parlino!", c.click);
    EXPECT_EQ(
        boxes.Show(platform::BoxKind::Confirmation, u"Parlino!", u"Exit now? \u0416", c.buttons),
        c.answer);
    answerer.Join();
    EXPECT_EQ(answerer.text(), L"Exit now? \u0416");
    EXPECT_EQ(answerer.buttons(), c.shown);
  }
}

TEST(Win32Shell, OpensAFileWithTheProgramRegisteredForItAndSaysWhenItCannot) {
  // The probe program is the system's program for ".parlinotest" files. (Wine's classes root does
  // not show the user's own classes, so they are the machine's.)
  const std::wstring command =
      L"\"" + (testing::TestProgramFolder() / L"parlino_win32_probe.exe").native() +
      L"\" touch \"%1.opened\"";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"ParlinoTest.File\\shell\\open\\command", 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".parlinotest", 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ParlinoTest.File"),
                 sizeof L"ParlinoTest.File");
  RegCloseKey(key);

  testing::TempDir dir;
  const auto file = dir.path() / L"voice \u0416.parlinotest";
  testing::WriteBytes(file, "x");
  EXPECT_TRUE(Win32Shell().Open(file.u16string()));
  auto opened = file;
  opened += L".opened";
  EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(opened); }));
  // A file that is not there cannot be opened, and the caller hears of it.
  EXPECT_FALSE(Win32Shell().Open((dir.path() / L"missing.parlinotest").u16string()));
}

TEST(Win32GlobalAtoms, ReleasesOneReferenceOfAnAtomThatExists) {
  Win32GlobalAtoms atoms;
  EXPECT_FALSE(atoms.ReleaseIfPresent(u"Parlino!"));
  ASSERT_NE(GlobalAddAtomW(L"Parlino!"), 0);
  ASSERT_NE(GlobalAddAtomW(L"Parlino!"), 0);         // two references
  EXPECT_TRUE(atoms.ReleaseIfPresent(u"parlino!"));  // atom names ignore case
  EXPECT_NE(GlobalFindAtomW(L"Parlino!"), 0);
  EXPECT_TRUE(atoms.ReleaseIfPresent(u"Parlino!"));
  EXPECT_EQ(GlobalFindAtomW(L"Parlino!"), 0);
  EXPECT_FALSE(atoms.ReleaseIfPresent(u"Parlino!"));
}

// Wine's desktop runs a taskbar window of its own (Explorer's "Shell_TrayWnd"); a desktop
// without one cannot be made here.
TEST(Win32NotificationArea, IsThereWithTheTaskbar) {
  EXPECT_TRUE(Win32NotificationArea().Available());
}

TEST(HtmlHelpViewer, LoadsTheViewerOnFirstUse) {
  HtmlHelpViewer viewer;
  viewer.CloseAll();  // before the first use: nothing to close, nothing loaded
  EXPECT_FALSE(viewer.Loaded());
  testing::TempDir dir;
  EXPECT_THROW(viewer.ShowTopic(dir / "missing.chm", u"/tutorial.htm"), PlatformError);
  EXPECT_TRUE(viewer.Loaded());
  viewer.CloseAll();
}

TEST(Win32MessagePump, RunsPostedTasksOnItsThreadInOrder) {
  Win32MessagePump pump;
  const DWORD uiThread = GetCurrentThreadId();
  std::vector<int> order;
  std::atomic<bool> posted{false};
  std::thread other([&] {
    for (int i = 0; i < 100; ++i) {
      pump.Post([&, i] {
        EXPECT_EQ(GetCurrentThreadId(), uiThread);
        order.push_back(i);
      });
    }
    posted = true;
  });
  other.join();
  pump.ProcessPendingMessages();
  ASSERT_EQ(order.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
}

TEST(Win32MessagePump, ATaskErrorReachesTheLoopAndTheNextTasksStillRun) {
  Win32MessagePump pump;
  bool later = false;
  pump.Post([] { throw PlatformError("task failed"); });
  pump.Post([&] { later = true; });
  EXPECT_THROW(pump.ProcessPendingMessages(), PlatformError);
  pump.ProcessPendingMessages();
  EXPECT_TRUE(later);
}

TEST(Win32MessagePump, RunEndsWithTheCodeOfQuit) {
  Win32MessagePump pump;
  pump.Post([&] { pump.Quit(7); });
  EXPECT_EQ(pump.Run(), 7);
}

}  // namespace
}  // namespace parlino
