// The keyboard: key messages to the focus window (system keys to the active window when nothing
// has the focus), the key state as the queue sees it and as it is now, and characters.
#include "platform/wm/record_pin.h"
#include "platform/wm/state.h"

namespace plat {

namespace wm {

namespace {

bool ToggleKey(UINT vk) { return vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL; }

// The side-specific keys also move the generic one.
UINT Generic(UINT vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}

void SetKey(std::array<BYTE, 256>& keys, UINT vk, bool down) {
  for (UINT k : {vk, Generic(vk)}) {
    if (down && !(keys[k] & 0x80) && ToggleKey(k)) keys[k] ^= 0x01;
    keys[k] = static_cast<BYTE>(down ? keys[k] | 0x80 : keys[k] & ~0x80);
  }
}

// What a key types on a plain US layout, for displays that do not say.
char32_t CharForKey(UINT vk, const std::array<BYTE, 256>& keys) {
  const bool shift = keys[VK_SHIFT] & 0x80;
  const bool ctrl = keys[VK_CONTROL] & 0x80;
  const bool caps = keys[VK_CAPITAL] & 0x01;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return vk - 'A' + 1;
    return (shift != caps) ? vk : vk - 'A' + 'a';
  }
  if (vk >= '0' && vk <= '9') return shift ? U")!@#$%^&*("[vk - '0'] : vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) return '0' + (vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return 0x08;
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 0x1B;
    default: return 0;
  }
}

}  // namespace

void CookKeyEvent(const display::Event& e) {
  State& s = S();
  const bool down = e.type == display::Event::Type::KeyDown;
  const UINT vk = e.vk & 0xFF;
  const bool wasDown = s.asyncKeys[vk] & 0x80;
  SetKey(s.asyncKeys, vk, down);
  if (!s.appActive) return;
  Window* target = FromHandle(s.focus);
  const bool noFocus = !target;
  if (noFocus) target = FromHandle(s.active);
  if (!target) return;
  const bool alt = s.asyncKeys[VK_MENU] & 0x80;
  const bool ctrl = s.asyncKeys[VK_CONTROL] & 0x80;
  const bool sys = noFocus || vk == VK_F10 || (alt && !ctrl) || (vk == VK_MENU && !ctrl);
  const UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lp = 1 | static_cast<LPARAM>((e.scanCode & 0xFF) << 16);
  if (alt) lp |= LPARAM{1} << 29;
  if (!down || wasDown) lp |= LPARAM{1} << 30;
  if (!down) lp |= static_cast<LPARAM>(0x80000000u);
  if (down) s.keyChars[vk] = e.character ? e.character : CharForKey(vk, s.asyncKeys);
  PostInput(MSG{target->handle, message, vk, lp, GetTickCount(), e.screen});
}

void NoteKeyTaken(const MSG& m) {
  auto& keys = S().keys;
  switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: SetKey(keys, static_cast<UINT>(m.wParam & 0xFF), true); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: SetKey(keys, static_cast<UINT>(m.wParam & 0xFF), false); break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: SetKey(keys, VK_LBUTTON, true); break;
    case WM_LBUTTONUP: SetKey(keys, VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: SetKey(keys, VK_RBUTTON, true); break;
    case WM_RBUTTONUP: SetKey(keys, VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: SetKey(keys, VK_MBUTTON, true); break;
    case WM_MBUTTONUP: SetKey(keys, VK_MBUTTON, false); break;
    default: break;
  }
}

}  // namespace wm

using namespace wm;

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  State& s = S();
  const char32_t ch = s.keyChars[msg->wParam & 0xFF];
  if (!ch) return FALSE;
  const UINT message = msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
  // The character comes next, before anything else that waits.
  s.posted.push_front(MSG{msg->hwnd, message, static_cast<WPARAM>(ch), msg->lParam, msg->time, msg->pt});
  return TRUE;
}

short GetKeyState(int vk) {
  const BYTE k = S().keys[static_cast<std::size_t>(vk) & 0xFF];
  return static_cast<short>(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

short GetAsyncKeyState(int vk) {
  const BYTE k = S().asyncKeys[static_cast<std::size_t>(vk) & 0xFF];
  return static_cast<short>((k & 0x80) ? 0x8000 : 0);
}

}  // namespace plat
