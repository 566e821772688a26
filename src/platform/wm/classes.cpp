// Window classes: registered by name (ignoring case) or atom.
#include <algorithm>
#include <cstring>

#include "platform/base/ascii.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

bool SameName(const std::string& a, const char* b) { return b && EqualAsciiNoCase(a, b); }

std::shared_ptr<Class> FindClass(const char* name) {
  State& s = S();
  if (!name) return nullptr;
  for (auto& c : s.classes) {
    if (IS_INTRESOURCE(name) ? c->atom == reinterpret_cast<std::uintptr_t>(name) : SameName(c->name, name)) return c;
  }
  return nullptr;
}

}  // namespace wm

using namespace wm;

ATOM RegisterClass(const WNDCLASS* wc) {
  State& s = S();
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !*wc->lpszClassName) {
    Fail(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (FindClass(wc->lpszClassName)) {
    Fail(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_shared<Class>();
  c->name = wc->lpszClassName;
  c->wc = *wc;
  c->wc.lpszClassName = c->name.c_str();
  c->wc.lpszMenuName = nullptr;
  c->atom = s.nextAtom++;
  c->extra.assign(static_cast<std::size_t>(std::max(0, wc->cbClsExtra)), 0);
  s.classes.push_back(c);
  return c->atom;
}

BOOL UnregisterClass(const char* className, HINSTANCE) {
  State& s = S();
  std::shared_ptr<Class> c = FindClass(className);
  if (!c) {
    Fail(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (const auto& slot : s.slots)
    if (slot.window && slot.window->cls == c) {
      Fail(ERROR_CLASS_HAS_WINDOWS);
      return FALSE;
    }
  std::erase(s.classes, c);
  return TRUE;
}

BOOL GetClassInfo(HINSTANCE, const char* className, WNDCLASS* out) {
  std::shared_ptr<Class> c = FindClass(className);
  if (!c || !out) {
    Fail(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *out = c->wc;
  return TRUE;
}

int GetClassName(HWND window, char* buffer, int size) {
  Window* w = CheckedWindow(window);
  if (!w || !buffer || size <= 0) return 0;
  const int n = std::min<int>(size - 1, static_cast<int>(w->cls->name.size()));
  std::memcpy(buffer, w->cls->name.data(), static_cast<std::size_t>(n));
  buffer[n] = '\0';
  return n;
}

namespace {

template <class T>
T Exchange(T& field, T value) {
  T old = field;
  field = value;
  return old;
}

ULONG_PTR ClassLong(Class& c, int index, const LONG_PTR* set) {
  WNDCLASS& wc = c.wc;
  auto pointer = [&](auto& field) -> ULONG_PTR {
    using F = std::remove_reference_t<decltype(field)>;
    const auto old = reinterpret_cast<ULONG_PTR>(field);
    if (set) field = reinterpret_cast<F>(*set);
    return old;
  };
  switch (index) {
    case GCLP_HBRBACKGROUND: return pointer(wc.hbrBackground);
    case GCLP_HCURSOR: return pointer(wc.hCursor);
    case GCLP_HICON:
    case GCLP_HICONSM: return pointer(wc.hIcon);
    case GCLP_HMODULE: return pointer(wc.hInstance);
    case GCLP_WNDPROC: return pointer(wc.lpfnWndProc);
    case GCL_STYLE: return set ? Exchange(wc.style, static_cast<UINT>(*set)) : wc.style;
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(wc.cbWndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(wc.cbClsExtra);
    default: break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > c.extra.size()) {
    Fail(ERROR_INVALID_PARAMETER);
    return 0;
  }
  LONG_PTR old;
  std::memcpy(&old, c.extra.data() + index, sizeof old);
  if (set) std::memcpy(c.extra.data() + index, set, sizeof *set);
  return static_cast<ULONG_PTR>(old);
}

}  // namespace

ULONG_PTR GetClassLongPtr(HWND window, int index) {
  Window* w = CheckedWindow(window);
  if (!w) return 0;
  return ClassLong(*w->cls, index, nullptr);
}

ULONG_PTR SetClassLongPtr(HWND window, int index, LONG_PTR value) {
  Window* w = CheckedWindow(window);
  if (!w) return 0;
  return ClassLong(*w->cls, index, &value);
}

}  // namespace plat
