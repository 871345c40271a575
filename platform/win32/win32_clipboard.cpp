#include "platform/win32/win32_clipboard.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

constexpr char kSystemFormatPrefix[] = "windows/";

// Closes the clipboard when it goes out of scope.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (opened_) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool opened() const { return opened_; }

 private:
  bool opened_;
};

// Formats whose data is a handle the system frees as a GDI object, not memory.
bool IsHandleFormat(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
      return true;
    default:
      return (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
             (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
  }
}

std::string FormatName(UINT format) {
  wchar_t name[256];
  const int length = format >= 0xC000 ? GetClipboardFormatNameW(format, name, 256) : 0;
  if (length > 0)
    return ToUtf8(FromWide(std::wstring_view(name, static_cast<std::size_t>(length))));
  return kSystemFormatPrefix + std::to_string(format);
}

UINT FormatOf(const std::string& name) {
  if (name.starts_with(kSystemFormatPrefix)) {
    const std::string number = name.substr(std::strlen(kSystemFormatPrefix));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos ||
        number.size() > 5) {
      return 0;
    }
    const unsigned long format = std::stoul(number);
    return format < 0xC000 ? static_cast<UINT>(format) : 0;
  }
  return RegisterClipboardFormatW(Wide(FromUtf8(name)).c_str());
}

std::string MemoryBytes(HANDLE data) {
  const SIZE_T size = GlobalSize(data);
  const void* bytes = GlobalLock(data);
  if (bytes == nullptr) return {};
  std::string copy(static_cast<const char*>(bytes), size);
  GlobalUnlock(data);
  return copy;
}

std::string MetafileBytes(HANDLE data) {
  const auto metafile = static_cast<HENHMETAFILE>(data);
  std::string bits(GetEnhMetaFileBits(metafile, 0, nullptr), '\0');
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()),
                     reinterpret_cast<BYTE*>(bits.data()));
  return bits;
}

// Puts one format on the opened clipboard; the clipboard owns the data from then on.
void PutFormat(UINT format, const std::string& bytes) {
  if (format == CF_ENHMETAFILE) {
    const HENHMETAFILE metafile = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()),
                                                     reinterpret_cast<const BYTE*>(bytes.data()));
    if (metafile != nullptr && SetClipboardData(format, metafile) == nullptr) {
      DeleteEnhMetaFile(metafile);
    }
    return;
  }
  const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
  if (memory == nullptr) ThrowWin32Error("Cannot keep the clipboard's data");
  void* target = GlobalLock(memory);
  if (target != nullptr) {
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory);
  }
  if (target == nullptr || SetClipboardData(format, memory) == nullptr) GlobalFree(memory);
}

// Whether the clipboard's owner answers a message within `limit`: a hung owner would hold every
// request for data it has not yet rendered.
bool OwnerAnswers(std::chrono::milliseconds limit) {
  const HWND owner = GetClipboardOwner();
  if (owner == nullptr || GetWindowThreadProcessId(owner, nullptr) == GetCurrentThreadId()) {
    return true;
  }
  const auto milliseconds = static_cast<UINT>(std::clamp<long long>(limit.count(), 1, 60000));
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(owner, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, milliseconds,
                             &result) != 0;
}

}  // namespace

Win32Clipboard::Win32Clipboard() : owner_([](UINT, WPARAM, LPARAM, LRESULT&) { return false; }) {}

ClipboardSnapshot Win32Clipboard::Backup(std::chrono::milliseconds limit) {
  const ULONGLONG end =
      GetTickCount64() + static_cast<ULONGLONG>(std::max<long long>(0, limit.count()));
  ClipboardSnapshot snapshot;
  if (!OwnerAnswers(limit)) return snapshot;
  const OpenedClipboard clipboard(owner_.handle());
  if (!clipboard.opened()) ThrowWin32Error("Cannot open the clipboard");
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    if (GetTickCount64() > end) break;  // the formats after this one are left out
    if (IsHandleFormat(format)) continue;
    const HANDLE data = GetClipboardData(format);
    if (data == nullptr) continue;  // the owner could not render it
    snapshot.push_back(
        {FormatName(format), format == CF_ENHMETAFILE ? MetafileBytes(data) : MemoryBytes(data)});
  }
  return snapshot;
}

bool Win32Clipboard::Restore(const ClipboardSnapshot& snapshot) {
  if (watching_ && GetClipboardSequenceNumber() != sequence_) changedByOthers_ = true;
  {
    const OpenedClipboard clipboard(owner_.handle());
    if (!clipboard.opened() || !EmptyClipboard()) return false;
    for (const ClipboardFormat& format : snapshot) {
      // Formats that only have a place in an owner's list belong to other systems.
      if (format.listedOnly) continue;
      if (const UINT id = FormatOf(format.mimeType)) PutFormat(id, format.data);
    }
  }
  sequence_ = GetClipboardSequenceNumber();
  return true;
}

bool Win32Clipboard::ReadText(Text& text, std::chrono::milliseconds limit) {
  if (!OwnerAnswers(limit)) return false;
  const OpenedClipboard clipboard(owner_.handle());
  if (!clipboard.opened()) return false;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  if (data == nullptr) return false;
  const SIZE_T units = GlobalSize(data) / sizeof(wchar_t);
  const auto* characters = static_cast<const wchar_t*>(GlobalLock(data));
  if (characters == nullptr) return false;
  std::wstring_view read(characters, units);
  read = read.substr(0, read.find(L'\0'));
  text = FromWide(read);
  GlobalUnlock(data);
  return true;
}

void Win32Clipboard::WatchOwner() {
  // Where the program may not see the clipboard's changes the number stays 0, and so does the
  // answer: the capture then waits for its limit, as it would for a copy that never comes.
  sequence_ = GetClipboardSequenceNumber();
  watching_ = true;
  changedByOthers_ = false;
}

bool Win32Clipboard::OwnerChanged() {
  return watching_ && (changedByOthers_ || GetClipboardSequenceNumber() != sequence_);
}

}  // namespace parlino::platform::win32_impl
