// Tracking a popup menu: a modal loop holding the pointer capture, with a stack of open levels.
// The pointer lights items and opens submenus; a release over a usable item chooses it; a press
// outside every level cancels. Keys: the arrows move and open or close levels, Enter chooses,
// Escape closes a level, a mnemonic chooses its item, Alt or F10 cancels.
#include <algorithm>
#include <cctype>
#include <memory>

#include "platform/base/ascii.h"
#include "platform/wm/menu_popup.h"
#include "platform/wm/menus.h"
#include "platform/wm/modal_loop.h"
#include "platform/wm/record_pin.h"

namespace plat {

namespace wm {

namespace {

bool Usable(const MenuItem& it) { return !(it.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)); }

char Mnemonic(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '&') {
      if (text[i + 1] != '&') return AsciiLower(text[i + 1]);
      ++i;
    }
  return 0;
}

class Tracker {
 public:
  Tracker(HWND owner, UINT flags) : owner_(owner), flags_(flags) {}
  ~Tracker() {
    while (!levels_.empty()) CloseLevel();
    S().menuWindow = nullptr;
  }
  Tracker(const Tracker&) = delete;
  Tracker& operator=(const Tracker&) = delete;

  bool Open(HMENU menu, POINT at) {
    Notify(menu, 0);
    levels_.push_back(OpenMenuPopup(menu, at, flags_, nullptr));
    if (!levels_.back()) {
      levels_.pop_back();
      return false;
    }
    S().menuWindow = levels_.front();
    return true;
  }

  // The command chosen, 0 for a cancel.
  UINT Run() {
    CaptureHold capture(levels_.front());
    MSG m;
    while (!done_ && NextModalMessage(m, owner_, MSGF_MENU, levels_.front())) {
      if (S().endMenu || !capture.Held() || !IsWindow(levels_.front())) break;
      if (IsMouseMessage(m.message))
        Mouse(m.message, m.pt);
      else if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
        // Only keys that may be mnemonics become characters.
        if (!Key(static_cast<UINT>(m.wParam))) TranslateMessage(&m);
      }
      else if (m.message == WM_CHAR || m.message == WM_SYSCHAR)
        Char(static_cast<char32_t>(m.wParam));
      else if (!IsKeyMessage(m.message)) {
        TranslateMessage(&m);
        DispatchMessage(&m);
      }
    }
    return chosen_;
  }

 private:
  void Notify(HMENU menu, int position) {
    if (!(flags_ & TPM_NONOTIFY) && IsWindow(owner_)) {
      const Menu* m = FromMenu(menu);
      SendMessage(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                  MAKELPARAM(position, m && m->systemOf ? 1 : 0));
    }
  }

  Menu* MenuAt(std::size_t level) const {
    MenuPopup* p = PopupOf(levels_[level]);
    return p ? FromMenu(p->menu) : nullptr;
  }

  void CloseLevel() {
    DestroyWindow(levels_.back());
    levels_.pop_back();
  }

  void CloseAbove(std::size_t level) {
    while (levels_.size() > level + 1) CloseLevel();
  }

  void OpenSubmenu(std::size_t level, int item, bool lightFirst) {
    Menu* m = MenuAt(level);
    if (!m || item < 0 || !(m->items[static_cast<std::size_t>(item)].flags & MF_POPUP)) return;
    if (!Usable(m->items[static_cast<std::size_t>(item)])) return;
    const HMENU sub = m->items[static_cast<std::size_t>(item)].sub;
    if (levels_.size() > level + 1 && PopupOf(levels_[level + 1])->menu == sub) return;
    CloseAbove(level);
    RECT r = PopupOf(levels_[level])->items[static_cast<std::size_t>(item)];
    RECT wr;
    GetWindowRect(levels_[level], &wr);
    Notify(sub, item);
    if (HWND h = OpenMenuPopup(sub, {wr.right - 3, wr.top + r.top - 3}, TPM_LEFTALIGN, &wr)) {
      levels_.push_back(h);
      if (lightFirst) Move(+1);
    }
  }

  void Choose(std::size_t level, int item) {
    Menu* m = MenuAt(level);
    if (!m || item < 0) return;
    const MenuItem& it = m->items[static_cast<std::size_t>(item)];
    if (!Usable(it)) return;
    if (it.flags & MF_POPUP) {
      OpenSubmenu(level, item, true);
      return;
    }
    chosen_ = static_cast<UINT>(it.id);
    done_ = true;
  }

  // The deepest level under a screen point, with the item there.
  bool Under(POINT p, std::size_t* level, int* item) const {
    for (std::size_t i = levels_.size(); i-- > 0;) {
      RECT r;
      GetWindowRect(levels_[i], &r);
      if (Contains(r, p)) {
        *level = i;
        *item = MenuItemAt(levels_[i], p);
        return true;
      }
    }
    return false;
  }

  void Mouse(UINT message, POINT p) {
    std::size_t level = 0;
    int item = -1;
    if (!Under(p, &level, &item)) {
      const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                         message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN;
      if (press) done_ = true;
      return;
    }
    Menu* m = MenuAt(level);
    if (!m) return;
    const bool separator = item >= 0 && (m->items[static_cast<std::size_t>(item)].flags & MF_SEPARATOR);
    SetHotItem(levels_[level], separator ? -1 : item);
    if (item >= 0 && (m->items[static_cast<std::size_t>(item)].flags & MF_POPUP))
      OpenSubmenu(level, item, false);
    else if (message == WM_MOUSEMOVE && item >= 0)
      CloseAbove(level);
    const bool release = message == WM_LBUTTONUP || (message == WM_RBUTTONUP && (flags_ & TPM_RIGHTBUTTON));
    if (release && item >= 0 && !(m->items[static_cast<std::size_t>(item)].flags & MF_POPUP)) Choose(level, item);
  }

  // Lights the next usable-looking item of the deepest level, skipping separators.
  void Move(int step) {
    const std::size_t level = levels_.size() - 1;
    Menu* m = MenuAt(level);
    if (!m || m->items.empty()) return;
    const int n = static_cast<int>(m->items.size());
    int i = PopupOf(levels_[level])->hot;
    for (int tries = 0; tries < n; ++tries) {
      i = i < 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
      if (!(m->items[static_cast<std::size_t>(i)].flags & MF_SEPARATOR)) break;
    }
    SetHotItem(levels_[level], i);
  }

  // Answers whether the key was one of the menu's own.
  bool Key(UINT vk) {
    const std::size_t level = levels_.size() - 1;
    const int hot = PopupOf(levels_[level])->hot;
    switch (vk) {
      case VK_UP: Move(-1); return true;
      case VK_DOWN: Move(+1); return true;
      case VK_RIGHT: OpenSubmenu(level, hot, true); return true;
      case VK_LEFT:
      case VK_ESCAPE:
        if (level > 0) CloseLevel();
        else if (vk == VK_ESCAPE) done_ = true;
        return true;
      case VK_RETURN: Choose(level, hot); return true;
      case VK_MENU:
      case VK_F10: done_ = true; return true;
      default: return false;
    }
  }

  void Char(char32_t c) {
    if (c >= 0x80) return;
    const char key = AsciiLower(static_cast<char>(c));
    const std::size_t level = levels_.size() - 1;
    Menu* m = MenuAt(level);
    if (!m || !key) return;
    for (std::size_t i = 0; i < m->items.size(); ++i)
      if (Mnemonic(m->items[i].text) == key) {
        SetHotItem(levels_[level], static_cast<int>(i));
        Choose(level, static_cast<int>(i));
        return;
      }
  }

  HWND owner_;
  UINT flags_;
  std::vector<HWND> levels_;
  UINT chosen_ = 0;
  bool done_ = false;
};

}  // namespace

}  // namespace wm

using namespace wm;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  WindowRecordPin pin;
  State& s = S();
  Menu* m = FromMenu(menu);
  if (!m || !IsWindow(owner) || s.menuWindow) {
    Fail(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const bool system = m->systemOf != nullptr;
  s.endMenu = false;
  if (!(flags & TPM_NONOTIFY)) SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
  UINT chosen = 0;
  {
    Tracker tracker(owner, flags);
    if (tracker.Open(menu, {x, y})) chosen = tracker.Run();
  }
  s.endMenu = false;
  if (!(flags & TPM_NONOTIFY) && IsWindow(owner)) SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen && IsWindow(owner))
    PostMessage(owner, system ? WM_SYSCOMMAND : WM_COMMAND, chosen, system ? MAKELPARAM(x, y) : 0);
  return chosen ? TRUE : FALSE;
}

BOOL EndMenu() {
  State& s = S();
  if (!s.menuWindow) return FALSE;
  s.endMenu = true;
  PostMessage(nullptr, WM_NULL, 0, 0);
  return TRUE;
}

}  // namespace plat
