#pragma once
// Inside the management service: reference counting for our objects, and a holder that
// releases what it holds.
#include <atomic>
#include <utility>

#include "platform/wmi/com.h"

namespace plat::wmi {

// Interface declares `static constexpr IID kIid`. Objects start with one reference, owned by
// whoever made them; the last Release deletes.
template <typename Interface>
class ComObject : public Interface {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == Interface::kIid) {
      AddRef();
      *object = static_cast<Interface*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  ~ComObject() override = default;

 private:
  std::atomic<ULONG> references_{1};
};

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  explicit ComPtr(T* adopted) : p_(adopted) {}  // takes over one reference
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  template <typename U>
  ComPtr(const ComPtr<U>& other) : p_(other.get()) {  // NOLINT: as a pointer to a base converts
    if (p_) p_->AddRef();
  }
  ComPtr& operator=(ComPtr other) {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() {
    if (p_) p_->Release();
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands one reference to a caller's out-parameter.
  template <typename U>
  void CopyTo(U** out) const {
    if (p_) p_->AddRef();
    *out = p_;
  }

 private:
  T* p_ = nullptr;
};

template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace plat::wmi
