#pragma once
// The skin provider of a form: it takes over the form's window procedure and draws the frame,
// title bar, caption, title buttons and client background from the skin, all composed in one
// picture of the whole window. Without the border window the frame is the window's own
// non-client area, cut to the skin's shape by a window region.
#include <memory>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "framework/collection.h"
#include "framework/component.h"
#include "framework/forms.h"
#include "controls/sCommonData.h"
#include "paint/text.h"
#include "skin/sProviderHooks.h"

namespace velmora {

class TsSkinProvider;
class TsSystemMenu;
class TsSkinManager;

// One title button's place and look.
struct TsCaptionButton {
  int State = 0;  // 0 normal, 1 hot, 2 pressed
  int ImageIndex = -1;
  plat::RECT Rect{0, 0, 0, 0};
  bool HaveAlignment = false;
  int GlowID = -1;
  int HitCode = 0;
};

// Hit-test codes of the title bar beyond the platform's: user title buttons.
inline constexpr int kUserButtonCode = 1000;
inline constexpr int kMaxUserButtons = 256;

class TsTitleButton : public fw::TCollectionItem {
  FW_DECLARE_CLASS

 public:
  explicit TsTitleButton(fw::TCollection* collection);
  std::string Name;
  fw::TBitmap Glyph;
  std::string Hint;
  bool Enabled = true;
  bool Visible = true;
  bool UseSkinData = true;
  fw::TMouseEvent OnMouseDown;
  fw::TMouseEvent OnMouseUp;
  TsCaptionButton Data;
  std::string DisplayName() const override { return Name; }
  void SetName(const std::string& v) { Name = v; }
  void SetHint(const std::string& v) { Hint = v; }
  void SetEnabled(bool v) { Enabled = v; }
  void SetVisible(bool v) { Visible = v; }
  void SetUseSkinData(bool v) { UseSkinData = v; }
};

class TsTitleButtons : public fw::TOwnedCollection<TsTitleButton> {
 public:
  using fw::TOwnedCollection<TsTitleButton>::TOwnedCollection;
};

// A second caption after the form's own.
class TacAddedTitle : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  TacAddedTitle();
  std::string Text;
  bool ShowMainCaption = true;
  fw::TFont* Font() { return &font_; }
  void SetText(const std::string& v) { Text = v; }
  void SetShowMainCaption(bool v) { ShowMainCaption = v; }

 private:
  fw::TFont font_;
};

// A replacement for the form's icon in the title bar.
class TsTitleIcon : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  fw::TBitmap Glyph;
  int Width = 0;  // 0: from the caption's height
  int Height = 0;
  bool Visible = true;
  void SetWidth(int v) { Width = v; }
  void SetHeight(int v) { Height = v; }
  void SetVisible(bool v) { Visible = v; }
};

enum TacSysSubMenuPosition { ipTop, ipBottom, ipBeforeClose };
// An extra submenu of the system menu: a caption and a platform menu it shows.
class TacSysSubMenu : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  std::string Caption;
  plat::HMENU PopupMenu = nullptr;  // not owned
  TacSysSubMenuPosition Position = ipBeforeClose;
  void SetCaption(const std::string& v) { Caption = v; }
  void SetPosition(TacSysSubMenuPosition v) { Position = v; }
};

enum TacGripMode { gmNone, gmRightBottom };
enum TacResizeMode { rmStandard, rmBorder };
enum TacShowAction { saIgnore, saRestore, saMinimize, saMaximize };

// Bits of TsSkinProvider::FormState.
inline constexpr unsigned kFsBorderMoving = 0x1;
inline constexpr unsigned kFsShowAnimation = 0x80;
inline constexpr unsigned kFsMinimizeAnimation = 0x100;
inline constexpr unsigned kFsHideSnapshot = 0x200;
inline constexpr unsigned kFsRestoreSize = 0x400;
inline constexpr unsigned kFsInActivation = 0x8000;

// The provider's state that stays with the program: one pressed flag for all title buttons.
bool TitleButtonPressed();
void SetTitleButtonPressed(bool pressed);

class TacHookedProvider;

class TsSkinProvider : public fw::TComponent, public TacFormSkinOwner {
  FW_DECLARE_CLASS

 public:
  explicit TsSkinProvider(fw::TComponent* owner);
  // The hook's variant: run-time, prepared at the first hit test, paint or show.
  static TsSkinProvider* CreateRT(fw::TComponent* owner, bool init = true);
  ~TsSkinProvider() override;

  // ---- stored settings ----
  TsCommonData* SkinData() { return &skinData_; }
  fw::TCustomForm* SkinnedForm() const override { return Form; }
  TacAddedTitle* AddedTitle() { return &addedTitle_; }
  TsTitleIcon* TitleIcon() { return &titleIcon_; }
  TsTitleButtons* TitleButtons() { return &titleButtons_; }
  TacSysSubMenu* SysSubMenu() { return &sysSubMenu_; }
  bool AllowAnimation = true;
  bool AllowExtBorders = true;
  bool AllowBlendOnMoving = true;
  fw::TAlignment CaptionAlignment = fw::taLeftJustify;
  bool DrawNonClientArea = true;
  bool DrawClientArea = true;
  TacGripMode GripMode = gmNone;
  bool MakeSkinMenu = false;
  std::string MenuLineSkin;
  TacResizeMode ResizeMode = rmStandard;
  bool ScreenSnap = false;
  int SnapBuffer = 10;
  bool ShowAppIcon = true;
  std::string TitleSkin;
  bool UseGlobalColor = true;
  fw::TNotifyEvent OnExtHitTest;
  fw::TNotifyEvent OnAfterAnimation;
  void SetAllowAnimation(bool v) { AllowAnimation = v; }
  void SetAllowExtBorders(bool v) { AllowExtBorders = v; }
  void SetAllowBlendOnMoving(bool v) { AllowBlendOnMoving = v; }
  void SetCaptionAlignment(fw::TAlignment v);
  void SetDrawNonClientArea(bool v);
  void SetDrawClientArea(bool v) { DrawClientArea = v; }
  void SetGripMode(TacGripMode v) { GripMode = v; }
  void SetMakeSkinMenu(bool v) { MakeSkinMenu = v; }
  void SetMenuLineSkin(const std::string& v) { MenuLineSkin = v; }
  void SetResizeMode(TacResizeMode v) { ResizeMode = v; }
  void SetScreenSnap(bool v) { ScreenSnap = v; }
  void SetSnapBuffer(int v) { SnapBuffer = v; }
  void SetShowAppIcon(bool v) { ShowAppIcon = v; }
  void SetTitleSkin(const std::string& v);
  void SetUseGlobalColor(bool v);
  void SetOnExtHitTest(fw::TNotifyEvent e) { OnExtHitTest = std::move(e); }
  void SetOnAfterAnimation(fw::TNotifyEvent e) { OnAfterAnimation = std::move(e); }

  // ---- state ----
  fw::TCustomForm* Form = nullptr;
  fw::TWndMethod OldWndProc;
  bool FormActive = true;
  int CurrentHT = 0;
  TsCaptionButton ButtonClose, ButtonMax, ButtonMin, ButtonHelp;
  bool BigButtons = false;
  int VCenter = 0;
  plat::RECT FIconRect{0, 0, 0, 0};
  int FHeaderHeight = 0;
  fw::TBitmap TempBmp;
  std::vector<plat::RECT> ArOR;
  bool RgnChanged = true, RgnChanging = false, RegionChanged = true, CaptChanged = true, CaptRgnChanged = true;
  int LockCount = 0;
  unsigned FormState = 0;
  TacShowAction ShowAction = saIgnore;
  bool RTInit = false;
  bool RTEmpty = false;
  bool InAero = false;
  bool InMenu = false;
  int FSysExHeight = 0;
  int FTitleSkinIndex = -1;
  int FCaptionSkinIndex = -1;
  TacGlowMask FGlow1, FGlow2;
  std::unique_ptr<TsSystemMenu> SystemMenu;

  // ---- life ----
  void LoadInit();
  void PrepareForm();
  // The border window follows the manager's extended-borders setting; it does not exist yet,
  // so the form keeps the plain frame.
  void SyncBorderWindow();
  bool HasBorderWindow() const { return false; }
  // The form is drawn by this provider now.
  bool Skinned() const;
  TsSkinManager* Manager() const { return skinData_.SkinManager(); }
  const TacSkinIndex* Skin() const;

  // ---- geometry ----
  bool HaveBorder() const;
  bool HaveCaption() const;
  int FrameBorderWidth(bool checkSkin = true) const;
  int FrameBorderHeight(bool checkSkin = true) const;
  int FrameCaptionHeight() const;
  int CaptionHeight(bool checkSkin = true) const;
  int BorderWidth(bool checkSkin = true) const;
  int BorderHeight(bool checkSkin = true) const;
  plat::RECT ShadowSize() const;
  int CaptionWidth() const;
  int OffsetX() const;
  int OffsetY() const;
  int HeaderHeight() const;
  TColor FormColor() const;
  plat::RECT WindowRect() const;

  // ---- picture and painting ----
  void PaintAll();
  void PaintTitleBar();
  void PaintCaption(fw::TBitmap& bmp);
  void UpdateRgn(bool repaint = false);
  void PaintNonClient(plat::HDC dc = nullptr);
  // The client area from the picture; false when nothing could be copied.
  bool PaintClientBackground(plat::HDC dc);
  // PaintAll when the picture is stale; false when there is none to copy from.
  bool PictureReady();
  int TitleIconWidth() const;
  int TitleIconHeight() const;
  bool IconVisible() const;
  int PaintAllCount() const { return paintAllCount_; }
  long long PixelsPushed() const { return pixelsPushed_; }

  // ---- title buttons ----
  void UpdateIconsIndexes();
  void CalcItems();
  void PaintBorderIcons();
  void RepaintButton(int code);
  int HTProcess(plat::POINT screen);
  void SetHotHT(int code, bool repaint = true);
  void SetPressedHT(int code);
  int ButtonsWidth() const;
  TsCaptionButton* ButtonByCode(int code);
  bool VisibleClose() const;
  bool VisibleMax() const;
  bool VisibleMin() const;
  bool VisibleHelp() const;
  bool EnabledMax() const;
  bool EnabledMin() const;
  bool EnabledRestore() const;

  // ---- system menu ----
  void DropSysMenu(int x, int y);

  // ---- the window procedure ----
  void NewWndProc(fw::TMessage& m);

  // Set while a provider made by the skin manager's hook stands for this one.
  TacHookedProvider* HookLink = nullptr;

 protected:
  void Loaded() override;

 private:
  friend class TacHookedProvider;
  void Hook();
  void Unhook();
  void CallOld(fw::TMessage& m);
  bool NotSkinnedMessage(fw::TMessage& m);
  void SkinCommand(fw::TMessage& m);
  void NcActivate(fw::TMessage& m);
  void NcHitTest(fw::TMessage& m);
  void NcPaintMessage(fw::TMessage& m);
  void SizeMessage(fw::TMessage& m);
  void SetTextMessage(fw::TMessage& m);
  void SysCommand(fw::TMessage& m);
  void PaintMessage(fw::TMessage& m);
  void EraseMessage(fw::TMessage& m);
  bool TitleMouse(fw::TMessage& m);
  void NcLButtonUp(fw::TMessage& m, int code);
  void ResetHot();
  void NewSkin();
  void RemoveSkin();
  void RepaintFrame();
  void RepaintCaption(bool backgroundChanged);
  void StopRedraw();
  void ResumeRedraw(bool redraw);
  void ProtectedOld(fw::TMessage& m);
  void SetFormColor();
  void UpdateTitleIndexes();
  int UserButtonIndex(int code) const;
  void DrawButton(fw::TBitmap& bmp, const TsCaptionButton& button);
  int ButtonGlyph(const TsCaptionButton& button) const;
  bool ButtonEnabled(const TsCaptionButton& button) const;
  plat::SIZE ButtonSize(const TsCaptionButton& button) const;
  void PlaceButton(TsCaptionButton& button, int& x, int topLine, bool visible);
  void PushToWindow(const plat::RECT& pictureRect);
  bool Runnable() const;

  TsCommonData skinData_{this, true};
  TacAddedTitle addedTitle_;
  TsTitleIcon titleIcon_;
  TsTitleButtons titleButtons_{this};
  TacSysSubMenu sysSubMenu_;
  bool hooked_ = false;
  plat::RECT lastClient_{0, 0, 0, 0};
  int tempLeft_ = 0;  // where TempBmp was copied from
  int paintAllCount_ = 0;
  long long pixelsPushed_ = 0;
  std::string lastTitleFont_;
};

// The form's provider (asked with scGetProvider), nullptr without one.
TsSkinProvider* ProviderOf(fw::TCustomForm* form);
// Makes the provider class known to descriptions and gives the skin manager's hook its
// provider factory.
void RegisterProviderClasses();

}  // namespace velmora
