#include "platform/win32/wininet_internet.h"

// windows.h first: wininet.h builds on it.
#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/platform_error.h"
#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {
namespace {

// An Internet handle, closed with its owner.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
  }
  InternetHandle(InternetHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  InternetHandle& operator=(InternetHandle&&) = delete;
  HINTERNET get() const { return handle_; }

 private:
  HINTERNET handle_;
};

// WinINet's errors have their texts in its own module, not in the system's table.
[[noreturn]] void ThrowInternetError(const std::string& what, DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      GetModuleHandleW(L"wininet.dll"), error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer != nullptr ? buffer : L"", length);
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
  if (text.empty()) ThrowWin32Error(what, error);
  throw PlatformError(what + ": " + ToUtf8(FromWide(text)), error);
}

// An HTTP header as a number; nothing when the server did not send it or it is no number.
std::optional<std::uint64_t> NumberHeader(HINTERNET resource, DWORD header) {
  wchar_t text[125] = {};  // 250 bytes
  DWORD size = sizeof text;
  DWORD index = 0;
  if (!HttpQueryInfoW(resource, header, text, &size, &index)) return std::nullopt;
  // The first 20 characters hold any length a download can have.
  const std::wstring digits(text, std::min<std::size_t>(size / sizeof(wchar_t), 20));
  if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos) {
    return std::nullopt;
  }
  return std::stoull(digits);
}

class WinInetResource final : public InternetResource {
 public:
  WinInetResource(InternetHandle session, InternetHandle resource)
      : session_(std::move(session)),
        resource_(std::move(resource)),
        length_(NumberHeader(resource_.get(), HTTP_QUERY_CONTENT_LENGTH)) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    DWORD read = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!InternetReadFile(resource_.get(), buffer, wanted, &read)) {
      ThrowInternetError("The download failed", GetLastError());
    }
    received_ += read;
    if (read == 0 && length_ && received_ < *length_) {
      throw PlatformError("The download ended after " + std::to_string(received_) + " of " +
                          std::to_string(*length_) + " bytes");
    }
    return read;
  }

  std::optional<std::uint64_t> ContentLength() const override { return length_; }

 private:
  // Destroyed in reverse order: the resource is closed before the session it belongs to.
  InternetHandle session_;
  InternetHandle resource_;
  std::optional<std::uint64_t> length_;
  std::uint64_t received_ = 0;
};

bool IsHttp(TextView address) {
  const Text lower = [&] {
    Text text(address.substr(0, 8));
    for (char16_t& c : text) c = AsciiLower(c);
    return text;
  }();
  return lower.starts_with(u"http://") || lower.starts_with(u"https://");
}

}  // namespace

std::unique_ptr<InternetResource> WinInetInternet::Open(TextView agent, TextView address) {
  InternetHandle session(
      InternetOpenW(Wide(agent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (session.get() == nullptr) ThrowInternetError("Cannot use the Internet", GetLastError());
  // Always from the server: a cached copy could be an old or a broken one.
  InternetHandle resource(InternetOpenUrlW(
      session.get(), Wide(address).c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
  if (resource.get() == nullptr) {
    ThrowInternetError("Cannot open " + ToUtf8(address), GetLastError());
  }
  // A page that says "not found" is not the file.
  if (IsHttp(address)) {
    const auto status = NumberHeader(resource.get(), HTTP_QUERY_STATUS_CODE);
    if (status && *status >= 400) {
      throw PlatformError(
          "The server answered " + std::to_string(*status) + " for " + ToUtf8(address),
          static_cast<std::int64_t>(*status));
    }
  }
  return std::make_unique<WinInetResource>(std::move(session), std::move(resource));
}

}  // namespace parlino::platform::win32_impl
