// The Windows clipboard's backup and restore under Wine, seen through the system's own calls.
#include "platform/win32/win32_clipboard.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform_error.h"

namespace parlino {
namespace {

using platform::ClipboardSnapshot;
using platform::win32_impl::Win32Clipboard;
using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kLimit = 500ms;

// Puts formats on the clipboard as another program would: each format and its bytes.
void PutOnClipboard(const std::vector<std::pair<UINT, std::string>>& formats) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  for (const auto& [format, bytes] : formats) {
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    SetClipboardData(format, memory);
  }
  CloseClipboard();
}

std::string Wide(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()),
                     (text.size() + 1) * sizeof(wchar_t));
}

// What another program finds on the clipboard: the formats in order and the bytes of `format`.
struct Seen {
  std::vector<UINT> formats;
  std::string bytes;
};

Seen Look(UINT format) {
  Seen seen;
  EXPECT_TRUE(OpenClipboard(nullptr));
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
    seen.formats.push_back(f);
  }
  if (const HANDLE data = GetClipboardData(format)) {
    seen.bytes.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return seen;
}

// A device-independent bitmap of 2 x 2 pixels, 32 bits each.
std::string SmallBitmap() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = 2;
  header.biHeight = 2;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
  for (const char* pixel :
       {"\x10\x20\x30\x00", "\x40\x50\x60\x00", "\x70\x80\x90\x00", "\xA0\xB0\xC0\x00"}) {
    bytes.append(pixel, 4);
  }
  return bytes;
}

TEST(Win32Clipboard, RestoresTextAnImageAndAPrivateFormat) {
  const UINT privateFormat = RegisterClipboardFormatW(L"Parlino Test Private");
  const std::string privateBytes("\x00\x01\x02\xFF", 4);
  const std::string text = Wide(L"\u03A9mega \u6F22\u5B57");
  const std::string bitmap = SmallBitmap();
  PutOnClipboard({{CF_UNICODETEXT, text}, {CF_DIB, bitmap}, {privateFormat, privateBytes}});
  const Seen before = Look(CF_UNICODETEXT);

  Win32Clipboard clipboard;
  const ClipboardSnapshot backup = clipboard.Backup(kLimit);
  PutOnClipboard({{CF_UNICODETEXT, Wide(L"copied selection")}});
  ASSERT_TRUE(clipboard.Restore(backup));

  // The same formats; those the system makes itself may come in another order.
  Seen after = Look(CF_UNICODETEXT);
  std::sort(after.formats.begin(), after.formats.end());
  std::vector<UINT> expected = before.formats;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(after.formats, expected);
  EXPECT_EQ(after.bytes.substr(0, text.size()), text);
  EXPECT_EQ(Look(CF_DIB).bytes.substr(0, bitmap.size()), bitmap);
  EXPECT_EQ(Look(privateFormat).bytes.substr(0, privateBytes.size()), privateBytes);
  // The system still makes a bitmap handle from what came back.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_NE(GetClipboardData(CF_BITMAP), nullptr);
  CloseClipboard();
}

TEST(Win32Clipboard, AnEmptyClipboardComesBackEmpty) {
  PutOnClipboard({});
  Win32Clipboard clipboard;
  const ClipboardSnapshot backup = clipboard.Backup(kLimit);
  EXPECT_TRUE(backup.empty());
  PutOnClipboard({{CF_UNICODETEXT, Wide(L"copied")}});
  ASSERT_TRUE(clipboard.Restore(backup));
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST(Win32Clipboard, ReadsTheTextUpToItsEnd) {
  Win32Clipboard clipboard;
  std::u16string text = u"unchanged";
  PutOnClipboard({{CF_DIB, SmallBitmap()}});
  EXPECT_FALSE(clipboard.ReadText(text, kLimit));
  EXPECT_EQ(text, u"unchanged");

  // Slack after the terminating 0, as applications leave it, is not text.
  PutOnClipboard({{CF_UNICODETEXT, Wide(L"selected") + std::string("junk\0\0", 6)}});
  ASSERT_TRUE(clipboard.ReadText(text, kLimit));
  EXPECT_EQ(text, u"selected");

  // 8-bit text of another program is read through the system's conversion.
  PutOnClipboard({{CF_TEXT, std::string("caf\xE9\0", 5)}});
  ASSERT_TRUE(clipboard.ReadText(text, kLimit));
  EXPECT_EQ(text, u"caf\u00E9");
}

TEST(Win32Clipboard, AClipboardAnotherProgramHoldsOpen) {
  PutOnClipboard({{CF_UNICODETEXT, Wide(L"held")}});
  std::atomic<bool> opened{false};
  std::atomic<bool> release{false};
  std::thread holder([&] {
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    opened = OpenClipboard(window) != FALSE;
    while (!release) Sleep(1);
    CloseClipboard();
    DestroyWindow(window);
  });
  while (!opened) Sleep(1);

  Win32Clipboard clipboard;
  std::u16string text;
  EXPECT_THROW(clipboard.Backup(kLimit), PlatformError);
  EXPECT_FALSE(clipboard.Restore({}));
  EXPECT_FALSE(clipboard.ReadText(text, kLimit));
  release = true;
  holder.join();
  ASSERT_TRUE(clipboard.ReadText(text, kLimit));
  EXPECT_EQ(text, u"held");
}

TEST(Win32Clipboard, AChangeOfAnotherProgramIsSeenButNotTheProgramsOwnRestore) {
  Win32Clipboard clipboard;
  PutOnClipboard({{CF_UNICODETEXT, Wide(L"user's")}});
  const ClipboardSnapshot backup = clipboard.Backup(kLimit);
  clipboard.WatchOwner();
  EXPECT_FALSE(clipboard.OwnerChanged());
  ASSERT_TRUE(clipboard.Restore(backup));
  EXPECT_FALSE(clipboard.OwnerChanged());
  PutOnClipboard({{CF_UNICODETEXT, Wide(L"copied")}});
  EXPECT_TRUE(clipboard.OwnerChanged());
  // A change before a restore of the program still counts after it.
  clipboard.WatchOwner();
  PutOnClipboard({{CF_UNICODETEXT, Wide(L"copied again")}});
  ASSERT_TRUE(clipboard.Restore(backup));
  EXPECT_TRUE(clipboard.OwnerChanged());
}

// Another program's window that owns the clipboard and renders its text only when asked; or,
// hung, never answers at all.
class RenderingOwner {
 public:
  explicit RenderingOwner(bool hung)
      : thread_([this, hung] {
          window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    nullptr, nullptr);
          SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
          OpenClipboard(window_);
          EmptyClipboard();
          SetClipboardData(CF_UNICODETEXT, nullptr);  // rendered when asked
          CloseClipboard();
          ready_ = true;
          if (hung) {
            WaitForSingleObject(release_, INFINITE);
          } else {
            MSG message;
            while (WaitForSingleObject(release_, 0) == WAIT_TIMEOUT) {
              MsgWaitForMultipleObjects(1, &release_, FALSE, INFINITE, QS_ALLINPUT);
              while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            }
          }
          DestroyWindow(window_);
        }) {
    while (!ready_) Sleep(1);
  }
  ~RenderingOwner() {
    SetEvent(release_);
    thread_.join();
    CloseHandle(release_);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_RENDERFORMAT && wParam == CF_UNICODETEXT) {
      const std::string text = Wide(L"rendered late");
      const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size());
      std::memcpy(GlobalLock(memory), text.data(), text.size());
      GlobalUnlock(memory);
      SetClipboardData(CF_UNICODETEXT, memory);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND window_ = nullptr;
  std::atomic<bool> ready_{false};
  std::thread thread_;
};

TEST(Win32Clipboard, AnOwnerThatRendersLateIsAskedForItsData) {
  RenderingOwner owner(false);
  Win32Clipboard clipboard;
  std::u16string text;
  ASSERT_TRUE(clipboard.ReadText(text, kLimit));
  EXPECT_EQ(text, u"rendered late");
}

TEST(Win32Clipboard, AHungOwnerHoldsNothingUp) {
  RenderingOwner owner(true);
  Win32Clipboard clipboard;
  std::u16string text = u"unchanged";
  // Asking the owner for its data would never return while it is hung: both give up instead.
  EXPECT_FALSE(clipboard.ReadText(text, 100ms));
  EXPECT_TRUE(clipboard.Backup(100ms).empty());
  EXPECT_EQ(text, u"unchanged");
}

}  // namespace
}  // namespace parlino
