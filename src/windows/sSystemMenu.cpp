// The skinned system menu and its dropping from the title bar.
#include "windows/sSystemMenu.h"

#include <algorithm>

#include "framework/application.h"
#include "platform/wm/menus.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSkinProvider.h"

namespace velmora {

namespace {

// Commands of the platform's system range; items outside it are the program's own.
constexpr plat::UINT kSystemFirst = 0xF000;
constexpr plat::UINT kSystemLast = 0xF1FF;

bool SingleOrSizeable(const fw::TCustomForm* form) {
  return form->BorderStyle() == fw::bsSingle || form->BorderStyle() == fw::bsSizeable;
}

}  // namespace

TsSystemMenu::TsSystemMenu(TsSkinProvider* owner) : FOwner(owner), FForm(owner->Form) { Generate(); }

bool TsSystemMenu::Minimized() const { return FForm->HandleAllocated() && plat::IsIconic(FForm->Handle()); }
bool TsSystemMenu::Maximized() const { return FForm->HandleAllocated() && plat::IsZoomed(FForm->Handle()); }
bool TsSystemMenu::IsMainForm() const { return fw::Application && fw::Application->MainForm() == FForm; }
bool TsSystemMenu::HasIcon(int icon) const { return FForm->BorderIcons().Contains(static_cast<fw::TBorderIcon>(icon)); }

bool TsSystemMenu::VisibleClose() const {
  if (!HasIcon(fw::biSystemMenu) || !FForm->HandleAllocated()) return false;
  const plat::HMENU menu = plat::GetSystemMenu(FForm->Handle(), plat::FALSE);
  return menu && plat::GetMenuState(menu, plat::SC_CLOSE, plat::MF_BYCOMMAND) != static_cast<plat::UINT>(-1);
}

bool TsSystemMenu::VisibleMax() const {
  if (!HasIcon(fw::biSystemMenu)) return false;
  if (Minimized()) return !(IsMainForm() && fw::Application->MainFormOnTaskBar());
  return FForm->FormStyle() == fw::fsMDIChild || (SingleOrSizeable(FForm) && HasIcon(fw::biMaximize));
}

bool TsSystemMenu::VisibleMin() const {
  if (!HasIcon(fw::biSystemMenu)) return false;
  if (Minimized() || FForm->FormStyle() == fw::fsMDIChild) return true;
  return SingleOrSizeable(FForm) && HasIcon(fw::biMinimize);
}

bool TsSystemMenu::VisibleRestore() const {
  return HasIcon(fw::biSystemMenu) && (SingleOrSizeable(FForm) || FForm->FormStyle() == fw::fsMDIChild);
}

bool TsSystemMenu::VisibleSize() const {
  const auto bs = FForm->BorderStyle();
  return FForm->FormStyle() == fw::fsMDIChild || (bs != fw::bsNone && bs != fw::bsDialog && bs != fw::bsToolWindow);
}

bool TsSystemMenu::EnabledMax() const {
  return (SingleOrSizeable(FForm) || FForm->FormStyle() == fw::fsMDIChild) && HasIcon(fw::biMaximize);
}

bool TsSystemMenu::EnabledMin() const { return HasIcon(fw::biMinimize) && (!Minimized() || IsMainForm()); }

bool TsSystemMenu::EnabledRestore() const { return Minimized() || (HasIcon(fw::biMaximize) && Maximized()); }

bool TsSystemMenu::EnabledMove() const { return !Maximized(); }

bool TsSystemMenu::EnabledSize() const { return FForm->BorderStyle() != fw::bsSingle && !Minimized(); }

std::string TsSystemMenu::PlatformCaption(plat::UINT command, const char* fallback) const {
  if (FForm->HandleAllocated())
    if (const plat::HMENU menu = plat::GetSystemMenu(FForm->Handle(), plat::FALSE)) {
      char text[256] = {};
      if (plat::GetMenuString(menu, command, text, sizeof text, plat::MF_BYCOMMAND) > 0) return text;
    }
  return fallback;
}

void TsSystemMenu::Generate() {
  items_.clear();
  ExtItemsCount = 0;
  const TacSysSubMenu& sub = *FOwner->SysSubMenu();
  const bool withSub = sub.PopupMenu && plat::IsMenu(sub.PopupMenu);
  auto addSub = [&](TacSysSubMenuPosition at) {
    if (withSub && sub.Position == at) items_.push_back({0, sub.Caption, true, true, sub.PopupMenu});
  };
  addSub(ipTop);
  items_.push_back({static_cast<plat::UINT>(plat::SC_RESTORE), PlatformCaption(plat::SC_RESTORE, "&Restore")});
  items_.push_back({static_cast<plat::UINT>(plat::SC_MOVE), PlatformCaption(plat::SC_MOVE, "&Move")});
  items_.push_back({static_cast<plat::UINT>(plat::SC_SIZE), PlatformCaption(plat::SC_SIZE, "&Size")});
  items_.push_back({static_cast<plat::UINT>(plat::SC_MINIMIZE), PlatformCaption(plat::SC_MINIMIZE, "Mi&nimize")});
  items_.push_back({static_cast<plat::UINT>(plat::SC_MAXIMIZE), PlatformCaption(plat::SC_MAXIMIZE, "Ma&ximize")});
  items_.push_back({});  // separator
  if (FForm->HandleAllocated())
    if (const plat::HMENU menu = plat::GetSystemMenu(FForm->Handle(), plat::FALSE))
      for (int i = 0; i < plat::GetMenuItemCount(menu); ++i) {
        const plat::UINT id = plat::GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<plat::UINT>(-1) || (id >= kSystemFirst && id <= kSystemLast)) continue;
        char text[256] = {};
        plat::GetMenuString(menu, static_cast<plat::UINT>(i), text, sizeof text, plat::MF_BYPOSITION);
        items_.push_back({id, text});
        ++ExtItemsCount;
      }
  addSub(ipBeforeClose);
  items_.push_back({static_cast<plat::UINT>(plat::SC_CLOSE), PlatformCaption(plat::SC_CLOSE, "&Close\tAlt+F4")});
  addSub(ipBottom);
}

const TacSysMenuItem* TsSystemMenu::ItemByCommand(plat::UINT command) const {
  for (const TacSysMenuItem& item : items_)
    if (item.Command == command && !item.SubMenu) return &item;
  return nullptr;
}

void TsSystemMenu::UpdateItems(bool full) {
  if (full || !ItemByCommand(static_cast<plat::UINT>(plat::SC_CLOSE))) Generate();
  for (TacSysMenuItem& item : items_) {
    switch (item.Command) {
      case plat::SC_RESTORE: item.Visible = VisibleRestore(), item.Enabled = EnabledRestore(); break;
      case plat::SC_MOVE: item.Visible = true, item.Enabled = EnabledMove(); break;
      case plat::SC_SIZE: item.Visible = VisibleSize(), item.Enabled = EnabledSize(); break;
      case plat::SC_MINIMIZE: item.Visible = VisibleMin(), item.Enabled = EnabledMin(); break;
      case plat::SC_MAXIMIZE: item.Visible = VisibleMax(), item.Enabled = EnabledMax(); break;
      case plat::SC_CLOSE: item.Visible = true, item.Enabled = true; break;
      default: break;
    }
  }
}

plat::UINT TsSystemMenu::Popup(int x, int y) {
  const plat::HMENU menu = plat::CreatePopupMenu();
  bool lastWasSeparator = true;  // no separator first or twice
  for (const TacSysMenuItem& item : items_) {
    if (!item.Visible) continue;
    if (!item.Command && !item.SubMenu) {
      if (!lastWasSeparator) plat::AppendMenu(menu, plat::MF_SEPARATOR, 0, nullptr);
      lastWasSeparator = true;
      continue;
    }
    const plat::UINT state = item.Enabled ? plat::MF_ENABLED : plat::MF_GRAYED;
    // A submenu stays the caller's: the item is removed again before the menu goes.
    if (item.SubMenu) plat::AppendMenu(menu, plat::MF_POPUP | state, reinterpret_cast<plat::UINT_PTR>(item.SubMenu), item.Caption.c_str());
    else plat::AppendMenu(menu, plat::MF_STRING | state, item.Command, item.Caption.c_str());
    if (item.Command == plat::SC_CLOSE) plat::SetMenuDefaultItem(menu, item.Command, plat::FALSE);
    lastWasSeparator = false;
  }
  const plat::UINT chosen = static_cast<plat::UINT>(
      plat::TrackPopupMenu(menu, plat::TPM_RETURNCMD | plat::TPM_LEFTBUTTON, x, y, 0, FForm->Handle(), nullptr));
  for (int i = plat::GetMenuItemCount(menu) - 1; i >= 0; --i)
    if (plat::GetSubMenu(menu, i)) plat::RemoveMenu(menu, static_cast<plat::UINT>(i), plat::MF_BYPOSITION);
  plat::DestroyMenu(menu);
  if (chosen && FForm->HandleAllocated()) plat::SendMessage(FForm->Handle(), plat::WM_SYSCOMMAND, chosen, 0);
  return chosen;
}

void TsSkinProvider::DropSysMenu(int x, int y) {
  if (!Form->HandleAllocated() || plat::GetActiveWindow() != Form->Handle()) return;
  if (!SystemMenu) SystemMenu = std::make_unique<TsSystemMenu>(this);
  TsSkinManager* manager = Manager();
  if (manager && !manager->SkinnedPopups()) {
    // The platform's own menu; the frame must not be redrawn by it while its items change.
    const plat::HWND window = Form->Handle();
    const plat::HMENU menu = plat::GetSystemMenu(window, plat::FALSE);
    const auto style = plat::GetWindowLong(window, plat::GWL_STYLE);
    plat::SetWindowLong(window, plat::GWL_STYLE, style & ~static_cast<plat::LONG>(plat::WS_VISIBLE));
    SystemMenu->UpdateItems();
    plat::EnableMenuItem(menu, plat::SC_CLOSE, plat::MF_ENABLED);
    plat::SetWindowLong(window, plat::GWL_STYLE, style);
    const auto chosen = plat::TrackPopupMenu(menu, plat::TPM_RETURNCMD, x, y, 0, window, nullptr);
    if (chosen) plat::PostMessage(window, plat::WM_SYSCOMMAND, static_cast<plat::WPARAM>(chosen), 0);
    return;
  }
  SystemMenu->UpdateItems(true);
  SystemMenu->Popup(x, y);
}

}  // namespace velmora
