#include "platform/win32/com.h"

#include "platform/platform_error.h"
#include "platform/win32/win32_text.h"

namespace parlino::platform::win32_impl {

Bstr::Bstr(TextView text)
    : value_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                               static_cast<UINT>(text.size()))) {
  if (value_ == nullptr && !text.empty()) throw PlatformError("Out of memory for a COM string");
}

Text TakeBstr(BSTR value) {
  Text text(reinterpret_cast<const char16_t*>(value), SysStringLen(value));
  SysFreeString(value);
  return text;
}

ComApartment::ComApartment() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // RPC_E_CHANGED_MODE: the thread is in a multithreaded apartment already; COM works there too.
  if (FAILED(result) && result != RPC_E_CHANGED_MODE) ThrowComError("Cannot start COM", result);
  joined_ = SUCCEEDED(result);
}

ComApartment::~ComApartment() {
  if (joined_) CoUninitialize();
}

}  // namespace parlino::platform::win32_impl
