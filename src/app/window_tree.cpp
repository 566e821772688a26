// The window tree as the scripted driver writes it, and finding windows in it.
#include "app/window_tree.h"

#include <cstdio>

#include "platform/base/ascii.h"
#include "platform/wm/dialogs.h"
#include "platform/wm/wm.h"

namespace velmora {

namespace {

using namespace plat;

std::string ClassOf(HWND w) {
  char name[256] = {};
  GetClassName(w, name, sizeof name);
  return name;
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out + "\"";
}

void DumpWindow(HWND w, int depth, std::string& out) {
  RECT r{};
  GetWindowRect(w, &r);
  char rect[64];
  std::snprintf(rect, sizeof rect, "%ld,%ld,%ld,%ld", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(RectWidth(r)), static_cast<long>(RectHeight(r)));
  out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + ClassOf(w) + " " + Quoted(GetWindowTextString(w)) + " " +
         rect + (IsWindowVisible(w) ? " visible" : " hidden") + (IsWindowEnabled(w) ? " enabled" : " disabled");
  if (GetActiveWindow() == w) out += " active";
  if (GetFocus() == w) out += " focus";
  if (GetWindowLong(w, GWL_EXSTYLE) & WS_EX_LAYERED) out += " layered";
  out += "\n";
  for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) DumpWindow(c, depth + 1, out);
}

void Collect(HWND w, std::vector<HWND>& out) {
  out.push_back(w);
  for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) Collect(c, out);
}

}  // namespace

std::vector<HWND> AllWindows() {
  std::vector<HWND> out;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) Collect(w, out);
  return out;
}

namespace {
HWND FindVisibleWindow(const std::function<bool(HWND)>& matches) {
  for (HWND w : AllWindows())
    if (IsWindowVisible(w) && matches(w)) return w;
  return nullptr;
}

}  // namespace

HWND FindVisibleWindowOfClass(const std::string& className) {
  return FindVisibleWindow([&](HWND w) { return plat::EqualAsciiNoCase(ClassOf(w), className); });
}

HWND FindVisibleWindowWithText(const std::string& text) {
  return FindVisibleWindow([&](HWND w) { return GetWindowTextString(w) == text; });
}

std::optional<std::string> AnswerShownMessageBox() {
  const auto box = FindShownMessageBox();
  if (!box || !PressMessageBoxButton(box->window, 0)) return std::nullopt;
  return box->text;
}

std::string DumpWindowTree() {
  std::string out;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) DumpWindow(w, 0, out);
  return out;
}

}  // namespace velmora
