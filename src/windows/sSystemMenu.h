#pragma once
// The skinned system menu of a form: Restore, Move, Size, Minimize, Maximize, the program's own
// items of the platform's system menu, an extra submenu, Close; each shown and enabled as the
// form's border style, border icons and state allow.
#include <string>
#include <vector>

#include "platform/wm/wm.h"

namespace fw {
class TCustomForm;
}

namespace velmora {

class TsSkinProvider;

struct TacSysMenuItem {
  plat::UINT Command = 0;  // a system command, 0 for a separator
  std::string Caption;
  bool Visible = true;
  bool Enabled = true;
  plat::HMENU SubMenu = nullptr;  // not owned
};

class TsSystemMenu {
 public:
  explicit TsSystemMenu(TsSkinProvider* owner);
  TsSystemMenu(const TsSystemMenu&) = delete;
  TsSystemMenu& operator=(const TsSystemMenu&) = delete;

  // Availability of the items and of the title buttons they stand for.
  bool VisibleClose() const;
  bool VisibleMax() const;
  bool VisibleMin() const;
  bool VisibleRestore() const;
  bool VisibleSize() const;
  bool EnabledMax() const;
  bool EnabledMin() const;
  bool EnabledRestore() const;
  bool EnabledMove() const;
  bool EnabledSize() const;

  // The items again from the form's platform system menu (full: always; else only without a
  // close item), then their states.
  void Generate();
  void UpdateItems(bool full = false);
  const std::vector<TacSysMenuItem>& Items() const { return items_; }
  const TacSysMenuItem* ItemByCommand(plat::UINT command) const;
  // Shows the menu at a screen point; the chosen command goes to the form as a system command.
  // Answers the command, 0 for none.
  plat::UINT Popup(int x, int y);

  TsSkinProvider* FOwner;
  fw::TCustomForm* FForm;
  int ExtItemsCount = 0;

 private:
  bool Minimized() const;
  bool Maximized() const;
  bool IsMainForm() const;
  bool HasIcon(int icon) const;
  std::string PlatformCaption(plat::UINT command, const char* fallback) const;

  std::vector<TacSysMenuItem> items_;
};

}  // namespace velmora
