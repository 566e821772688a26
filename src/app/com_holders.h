#pragma once
// Holders for what the management-service routes borrow from the platform: an interface
// reference, a system string and the thread's apartment, each given back when its holder ends.
#include "platform/wmi/bstr.h"
#include "platform/wmi/com.h"

namespace velmora {

template <typename T>
class Held {
 public:
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() { Reset(); }
  // The out-parameter of a call that hands over a reference; the previous one is released.
  T** Out() {
    Reset();
    return &p_;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

class SystemString {
 public:
  explicit SystemString(const char16_t* text) : s_(plat::SysAllocString(text)) {}
  SystemString(const SystemString&) = delete;
  SystemString& operator=(const SystemString&) = delete;
  ~SystemString() { plat::SysFreeString(s_); }
  plat::BSTR get() const { return s_; }
  explicit operator bool() const { return s_ != nullptr; }

 private:
  plat::BSTR s_;
};

// CoInitialize for the holder's life; S_FALSE (already initialised) counts and is balanced too.
class Apartment {
 public:
  Apartment() : initialised_(plat::SUCCEEDED(plat::CoInitialize(nullptr))) {}
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
  ~Apartment() {
    if (initialised_) plat::CoUninitialize();
  }
  bool initialised() const { return initialised_; }

 private:
  bool initialised_;
};

}  // namespace velmora
