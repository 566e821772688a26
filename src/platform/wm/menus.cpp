// Menu objects behind checked handles: items by position or by command (searched through the
// submenus too), their states, and the menus a window owns.
#include <algorithm>
#include <cstring>

#include "platform/wm/frame.h"
#include "platform/wm/menus.h"

namespace plat {

namespace wm {

namespace {

constexpr std::uintptr_t kMenuBase = 0x6D000000;

struct Found {
  Menu* menu = nullptr;
  std::size_t index = 0;
};

Found FindItem(Menu* m, UINT item, UINT flags, int depth = 0) {
  if (!m || depth > 16) return {};
  if (flags & MF_BYPOSITION) return item < m->items.size() ? Found{m, item} : Found{};
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    const MenuItem& it = m->items[i];
    if (!(it.flags & MF_POPUP) && it.id == item) return {m, i};
    if (it.flags & MF_POPUP)
      if (Found f = FindItem(FromMenu(it.sub), item, flags, depth + 1); f.menu) return f;
  }
  return {};
}

void Destroy(HMENU h, int depth = 0) {
  State& s = S();
  auto it = s.menus.find(reinterpret_cast<std::uintptr_t>(h));
  if (it == s.menus.end() || depth > 16) return;
  std::unique_ptr<Menu> menu = std::move(it->second);
  s.menus.erase(it);
  for (const MenuItem& item : menu->items)
    if (item.flags & MF_POPUP) Destroy(item.sub, depth + 1);
}

HMENU Make(bool popup) {
  State& s = S();
  auto m = std::make_unique<Menu>();
  m->popup = popup;
  m->handle = reinterpret_cast<HMENU>(kMenuBase + (s.nextMenu++ << 4));
  const HMENU h = m->handle;
  s.menus[reinterpret_cast<std::uintptr_t>(h)] = std::move(m);
  return h;
}

bool MakeItem(UINT flags, UINT_PTR id, const char* text, MenuItem* out) {
  MenuItem item;
  item.flags = flags & ~(MF_BYPOSITION);
  if (flags & MF_POPUP) {
    item.sub = reinterpret_cast<HMENU>(id);
    if (!FromMenu(item.sub)) return false;
  } else {
    item.id = id;
  }
  if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text) item.text = text;
  *out = std::move(item);
  return true;
}

// A window shows the state of its system menu's close item on its close button.
void CloseStateChanged(Menu* m) {
  if (Window* w = FromHandle(m->systemOf)) PaintFrame(w, w->ncActive);
}

}  // namespace

Menu* FromMenu(HMENU h) {
  State* s = TryState();
  if (!s || !h) return nullptr;
  auto it = s->menus.find(reinterpret_cast<std::uintptr_t>(h));
  return it == s->menus.end() ? nullptr : it->second.get();
}

void DestroyMenusOf(Window* w) {
  if (w->sysMenu) Destroy(w->sysMenu);
  w->sysMenu = nullptr;
}

}  // namespace wm

using namespace wm;

HMENU CreateMenu() { return Make(false); }
HMENU CreatePopupMenu() { return Make(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!FromMenu(menu)) return FALSE;
  Destroy(menu);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return FromMenu(menu) ? TRUE : FALSE; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, const char* text) {
  Menu* m = FromMenu(menu);
  if (!m) return FALSE;
  return InsertMenu(menu, static_cast<UINT>(m->items.size()), flags | MF_BYPOSITION, id, text);
}

BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text) {
  Menu* m = FromMenu(menu);
  MenuItem item;
  if (!m || !MakeItem(flags, id, text, &item)) return FALSE;
  std::size_t at = m->items.size();
  Menu* target = m;
  if (flags & MF_BYPOSITION) {
    at = std::min<std::size_t>(position, m->items.size());
  } else if (Found f = FindItem(m, position, MF_BYCOMMAND); f.menu) {
    target = f.menu;
    at = f.index;
  }
  target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  return TRUE;
}

BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text) {
  Found f = FindItem(FromMenu(menu), position, flags);
  MenuItem item;
  if (!f.menu || !MakeItem(flags, id, text, &item)) return FALSE;
  f.menu->items[f.index] = std::move(item);
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) {
  Found f = FindItem(FromMenu(menu), position, flags);
  if (!f.menu) return FALSE;
  f.menu->items.erase(f.menu->items.begin() + static_cast<std::ptrdiff_t>(f.index));
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
  Found f = FindItem(FromMenu(menu), position, flags);
  if (!f.menu) return FALSE;
  const MenuItem item = f.menu->items[f.index];
  f.menu->items.erase(f.menu->items.begin() + static_cast<std::ptrdiff_t>(f.index));
  if (item.flags & MF_POPUP) Destroy(item.sub);
  return TRUE;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  Found f = FindItem(FromMenu(menu), item, enable);
  if (!f.menu) return -1;
  MenuItem& it = f.menu->items[f.index];
  const UINT before = it.flags & (MF_GRAYED | MF_DISABLED);
  it.flags = (it.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  if (before != (it.flags & (MF_GRAYED | MF_DISABLED)) && f.menu->systemOf && it.id == SC_CLOSE)
    CloseStateChanged(f.menu);
  return static_cast<BOOL>(before);
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  Found f = FindItem(FromMenu(menu), item, check);
  if (!f.menu) return static_cast<DWORD>(-1);
  MenuItem& it = f.menu->items[f.index];
  const DWORD before = it.flags & MF_CHECKED;
  it.flags = (it.flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return before;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  Menu* m = FromMenu(menu);
  if (!m) return FALSE;
  if (item == static_cast<UINT>(-1)) {
    m->defaultItem = -1;
    return TRUE;
  }
  for (std::size_t i = 0; i < m->items.size(); ++i)
    if (byPosition ? i == item : (!(m->items[i].flags & MF_POPUP) && m->items[i].id == item)) {
      m->defaultItem = static_cast<int>(i);
      return TRUE;
    }
  return FALSE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT) {
  Menu* m = FromMenu(menu);
  if (!m || m->defaultItem < 0 || static_cast<std::size_t>(m->defaultItem) >= m->items.size())
    return static_cast<UINT>(-1);
  return byPosition ? static_cast<UINT>(m->defaultItem) : static_cast<UINT>(m->items[m->defaultItem].id);
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = FromMenu(menu);
  return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
  Menu* m = FromMenu(menu);
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return static_cast<UINT>(-1);
  const MenuItem& it = m->items[static_cast<std::size_t>(position)];
  return (it.flags & MF_POPUP) ? static_cast<UINT>(-1) : static_cast<UINT>(it.id);
}

HMENU GetSubMenu(HMENU menu, int position) {
  Menu* m = FromMenu(menu);
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return nullptr;
  const MenuItem& it = m->items[static_cast<std::size_t>(position)];
  return (it.flags & MF_POPUP) ? it.sub : nullptr;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  Found f = FindItem(FromMenu(menu), item, flags);
  if (!f.menu) return static_cast<UINT>(-1);
  const MenuItem& it = f.menu->items[f.index];
  UINT state = it.flags & ~MF_POPUP;
  if (static_cast<int>(f.index) == f.menu->defaultItem) state |= MF_DEFAULT;
  if (it.flags & MF_POPUP) {
    const Menu* sub = FromMenu(it.sub);
    state = (state & 0xFF) | MF_POPUP | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
  }
  return state;
}

int GetMenuString(HMENU menu, UINT item, char* buffer, int size, UINT flags) {
  Found f = FindItem(FromMenu(menu), item, flags);
  if (!f.menu) return 0;
  const std::string& text = f.menu->items[f.index].text;
  if (!buffer || size <= 0) return static_cast<int>(text.size());
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

}  // namespace plat
