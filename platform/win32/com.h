#pragma once
// Small COM helpers: an owning interface pointer, BSTR conversions, the apartment of a thread.
#include <objbase.h>
#include <oleauto.h>

#include <utility>

#include "platform/text.h"

namespace parlino::platform::win32_impl {

// Holds one reference to a COM interface and releases it.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr) pointer_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already owns.
  static ComPtr Adopt(Interface* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }

  void Reset() {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }
  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For calls that hand out a new reference; releases the one held before.
  Interface** Receive() {
    Reset();
    return &pointer_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

 private:
  Interface* pointer_ = nullptr;
};

// A BSTR made from text, freed with its owner. Embedded 0 characters stay.
class Bstr {
 public:
  explicit Bstr(TextView text);
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

// The text of a BSTR that a call handed out; frees it.
Text TakeBstr(BSTR value);

// Joins the calling thread to a single-threaded apartment for the object's lifetime (a thread
// that already is in one stays there). The apartment's objects call back on this thread.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool joined_ = false;
};

}  // namespace parlino::platform::win32_impl
