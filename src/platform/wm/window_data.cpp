// What a window carries: its procedure, styles, id, user data, extra bytes, properties, text.
#include <cstring>

#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

using namespace wm;

namespace {

LONG_PTR ChangeStyle(Window* w, int index, DWORD value) {
  DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
  const DWORD old = field;
  if (index == GWL_EXSTYLE) value = (value & ~WS_EX_TOPMOST) | (old & WS_EX_TOPMOST);
  STYLESTRUCT ss{old, value};
  Send(w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  if (w->dead) return static_cast<LONG_PTR>(old);
  field = ss.styleNew;
  if (index == GWL_EXSTYLE) LayeredStyleChanged(w, old);
  if (index == GWL_EXSTYLE && IsTopLevel(w) && w->surface) SyncRole(w);
  if (index == GWL_STYLE && ((old ^ field) & WS_VISIBLE)) w->redrawOff = false;
  RefreshDcs(TopLevelOf(w));
  Send(w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  return static_cast<LONG_PTR>(old);
}

LONG_PTR WindowLong(Window* w, int index, const LONG_PTR* set) {
  auto swap = [&](LONG_PTR& field) {
    const LONG_PTR old = field;
    if (set) field = *set;
    return old;
  };
  switch (index) {
    case GWLP_WNDPROC: {
      const auto old = reinterpret_cast<LONG_PTR>(w->proc);
      if (set) w->proc = reinterpret_cast<WNDPROC>(*set);
      return old;
    }
    case GWL_STYLE: return set ? ChangeStyle(w, index, static_cast<DWORD>(*set)) : static_cast<LONG_PTR>(w->style);
    case GWL_EXSTYLE: return set ? ChangeStyle(w, index, static_cast<DWORD>(*set)) : static_cast<LONG_PTR>(w->exStyle);
    case GWLP_ID: return swap(w->id);
    case GWLP_USERDATA: return swap(w->userData);
    case GWLP_HINSTANCE: {
      const auto old = reinterpret_cast<LONG_PTR>(w->instance);
      if (set) w->instance = reinterpret_cast<HINSTANCE>(*set);
      return old;
    }
    case GWLP_HWNDPARENT: {
      if (!IsTopLevel(w)) return reinterpret_cast<LONG_PTR>(w->parent->handle);
      const auto old = reinterpret_cast<LONG_PTR>(w->owner ? w->owner->handle : nullptr);
      if (set) {
        Window* o = FromHandle(reinterpret_cast<HWND>(*set));
        o = o ? TopLevelOf(o) : nullptr;
        for (Window* a = o; a; a = a->owner)
          if (a == w) return old;  // no ownership cycles
        w->owner = o;
      }
      return old;
    }
    default: break;
  }
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(LONG_PTR) > w->extra.size()) {
    Fail(ERROR_INVALID_PARAMETER);
    return 0;
  }
  LONG_PTR old;
  std::memcpy(&old, w->extra.data() + index, sizeof old);
  if (set) std::memcpy(w->extra.data() + index, set, sizeof *set);
  return old;
}

std::string PropName(const char* name) {
  if (!IS_INTRESOURCE(name)) return name;
  std::string atom = "#";
  atom += std::to_string(reinterpret_cast<std::uintptr_t>(name));
  return atom;
}

}  // namespace

LONG_PTR GetWindowLongPtr(HWND window, int index) {
  Window* w = CheckedWindow(window);
  if (!w) return 0;
  return WindowLong(w, index, nullptr);
}

LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
  WindowRecordPin pin;
  Window* w = CheckedWindow(window);
  if (!w) return 0;
  return WindowLong(w, index, &value);
}

LONG GetWindowLong(HWND window, int index) { return static_cast<LONG>(GetWindowLongPtr(window, index)); }
LONG SetWindowLong(HWND window, int index, LONG value) {
  return static_cast<LONG>(SetWindowLongPtr(window, index, index == GWL_STYLE || index == GWL_EXSTYLE
                                                                ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                                : value));
}

BOOL SetProp(HWND window, const char* name, HANDLE data) {
  Window* w = CheckedWindow(window);
  if (!w || !name) return FALSE;
  const std::string key = PropName(name);
  for (auto& [n, v] : w->props)
    if (SameName(n, key.c_str())) {
      v = data;
      return TRUE;
    }
  w->props.emplace_back(key, data);
  return TRUE;
}

HANDLE GetProp(HWND window, const char* name) {
  Window* w = CheckedWindow(window);
  if (!w || !name) return nullptr;
  const std::string key = PropName(name);
  for (auto& [n, v] : w->props)
    if (SameName(n, key.c_str())) return v;
  return nullptr;
}

HANDLE RemoveProp(HWND window, const char* name) {
  Window* w = CheckedWindow(window);
  if (!w || !name) return nullptr;
  const std::string key = PropName(name);
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (SameName(it->first, key.c_str())) {
      HANDLE v = it->second;
      w->props.erase(it);
      return v;
    }
  return nullptr;
}

BOOL SetWindowText(HWND window, const char* text) {
  if (!CheckedWindow(window)) return FALSE;
  return SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND window, char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!CheckedWindow(window)) return 0;
  return static_cast<int>(SendMessage(window, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND window) {
  if (!CheckedWindow(window)) return 0;
  return static_cast<int>(SendMessage(window, WM_GETTEXTLENGTH, 0, 0));
}

std::string GetWindowTextString(HWND window) {
  const int n = GetWindowTextLength(window);
  if (n <= 0) return {};
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowText(window, text.data(), n + 1)));
  return text;
}

}  // namespace plat
