#pragma once
// The skin state every skinned control, adapter and form provider carries: its section and the
// section's indexes in the loaded skin, its cached picture and the flags saying when that picture
// is stale, the hot look, deferred painting, and the answers to the skin command that are the same
// for every kind of control. Also the exchange by which a control obtains its parent's background.
#include <cstdint>
#include <string>

#include "framework/controls.h"
#include "framework/persistent.h"
#include "paint/cache_info.h"
#include "paint/section_skin_state.h"
#include "platform/wm/wm.h"

namespace fw {
class TCustomForm;
class TWinControl;
}  // namespace fw

namespace velmora {

class TsSkinManager;

// Control-class codes (COC) of the controls this program skins.
inline constexpr int COC_TsPanel = 51;
inline constexpr int COC_TsSpeedButton = 92;
inline constexpr int COC_TsButton = 93;
inline constexpr int COC_TsBitBtn = 94;
inline constexpr int COC_TsStatusBar = 151;
inline constexpr int COC_TsSkinProvider = 224;
inline constexpr int COC_TsAdapter = 230;

// CtrlSkinState bits.
inline constexpr std::uint16_t ACS_PLAINFILL = 0x0001;    // the section paints as one colour
inline constexpr std::uint16_t ACS_NOTEVALUATED = 0x0002;  // the plain-fill test has not run yet
inline constexpr std::uint16_t ACS_PRINTING = 0x0200;      // PrintDC is set
inline constexpr std::uint16_t ACS_LOCKED = 0x0800;        // inside BeginUpdate

// BGType bits.
inline constexpr std::uint16_t BGT_GRADIENTHORZ = 0x0001;  // changes along the width
inline constexpr std::uint16_t BGT_GRADIENTVERT = 0x0002;  // changes along the height
inline constexpr std::uint16_t BGT_TEXTURE = 0x0004;       // the section has an image

// Kinds that never show the hot look because of the mouse (containers).
bool IsNonHotKind(int coc);
// Kinds that get no glow on mouse enter from the common handler.
bool IsNoGlowKind(int coc);
// Kinds whose framework colour and font colour follow the skin.
bool IsEditKind(int coc);
// The section a skin state with an empty name takes for its kind; empty: the owner's class name.
const char* DefaultSectionOf(int coc);

enum TacBGKind : std::uint8_t { bkNone = 0, bkFill = 1, bkPicture = 2, bkNotReady = 3 };

// Passed by address with scGetBackgroundInfo: what lies behind the asking child.
struct BackgroundInfo {
  fw::TBitmap* Bitmap = nullptr;  // the parent's picture (picture), or where border bands come from (fill)
  TColor Color = 0;               // the fill colour
  plat::POINT Offset{0, 0};       // the asking control's origin in Bitmap
  plat::RECT DrawRect{};          // what to draw with DrawNow
  plat::RECT BorderMargins{};     // the parent's border widths a plain fill must not cover
  std::uint8_t Kind = bkNone;
  bool DrawNow = false;           // the parent draws its background into TargetDC itself
  plat::HDC TargetDC = nullptr;
};

// Passed by address with scSetSection and scGetSkinIndex.
struct TacSectionInfo {
  int SkinIndex = -1;
  std::string Name;
  bool RepaintNeeded = false;
};

// An owner that is no control but stands for a form (a form's provider) tells the skin state
// which form that is.
class TacFormSkinOwner {
 public:
  virtual ~TacFormSkinOwner() = default;
  virtual fw::TCustomForm* SkinnedForm() const = 0;
  // The form shows a main-menu line, which keeps its client from being one plain colour.
  virtual bool HasMenuLine() const { return false; }
};

class TsCommonData : public fw::TPersistent, public TacPaintSkinState {
  FW_DECLARE_CLASS

 public:
  // AOwner: the control, provider or adapter item that carries this state.
  TsCommonData(fw::TObject* AOwner, bool CreateCacheBmp);
  ~TsCommonData() override;

  int FUpdateCount = 0;
  int GlowID = -1;
  void* GraphControl = nullptr;
  bool UrgentPainting = false;
  bool HalfVisible = true;
  fw::TControl* FOwnerControl = nullptr;
  fw::TObject* FOwnerObject = nullptr;
  plat::HRGN FRegion = nullptr;
  bool FFocused = false;
  bool FMouseAbove = false;
  std::uint16_t CtrlSkinState = ACS_NOTEVALUATED;
  std::uint16_t BGType = 0;
  plat::HDC PrintDC = nullptr;
  plat::RECT InvalidRectH{0, 0, 0, 0};
  plat::RECT InvalidRectV{0, 0, 0, 0};

  // Published.
  const std::string& SkinSection() const { return FSkinSection; }
  void SetSkinSection(const std::string& Value);
  // FSkinManager, else the default manager.
  TsSkinManager* SkinManager() const;
  void SetSkinManager(TsSkinManager* Value);
  bool ManagerStored() const { return FSkinManager != nullptr; }
  bool CustomColor() const { return FCustomColor; }
  void SetCustomColor(bool Value);
  bool CustomFont() const { return FCustomFont; }
  void SetCustomFont(bool Value);
  int HUEOffset() const { return FHUEOffset; }
  void SetHUEOffset(int Value);
  int Saturation() const { return FSaturation; }
  void SetSaturation(int Value);
  bool Updating() { return QueryUpdating(); }
  void SetUpdating(bool Value) { FUpdating = Value; }

  void Loaded();
  void AssignDefaultSection();
  void UpdateIndexes();
  bool Skinned(bool CheckSkinActive = false) const;
  void BeginUpdate();
  void EndUpdate(bool Repaint = false);
  void Invalidate(bool UpdateNow = false);
  bool RepaintIfMoved();
  bool QueryUpdating();

  bool UsesCache() const;
  bool ShowsHot() const;
  bool RecheckUpdating(bool Reset);
  void ApplySkinColors(bool DoInvalidate);
  std::uint16_t ComputeBGType() const;
  // 0 needs a picture, 1 plain fill, 2 cannot tell yet.
  int ClassifyBackground() const;
  void EvaluatePlainFill(bool Children);
  void AnswerBackgroundRequest(BackgroundInfo& info, int state, plat::HWND window);
  TColor EffectiveColor(int state, plat::HWND window);
  void EnsureCacheBitmap();
  int LargestBorderWidth() const;
  void RefreshGlow(bool Hide, plat::HWND window);
  void RemoveGlow();
  // True when the message was consumed.
  bool HandleSkinCommand(fw::TMessage& message);
  bool HandleCommonMessage(fw::TMessage& message);
  // The answer to scGetBackgroundColor (control owners only).
  TColor BackgroundColorAnswer();

  // What painting reads.
  fw::TControl* OwnerControl() const override { return FOwnerControl; }
  TColor OwnerColor() const override;
  TColor ParentColor() const override;
  bool OwnerWindowed() const override;
  TacParentBackground QueryParentBackground(TCacheInfo& info) override;
  TColor EffectiveColor(int state) override { return EffectiveColor(state, nullptr); }
  int ParentFontSection() override;

  // The form a provider owner stands for; null for other owners.
  fw::TCustomForm* ProviderForm() const;

 private:
  bool OwnerBeingDestroyed() const;
  bool OwnerLoading() const;
  bool SameManager(plat::LPARAM value) const;
  const TsGeneralData* Section() const;
  // Width and height of the owner (the form for a provider).
  plat::POINT OwnerSize() const;
  void SendToOwner(plat::WORD command, plat::WORD argument = 0, plat::LPARAM value = 0);
  void RemoveSkin();
  void ClearCache();
  void MouseEnter(fw::TMessage& message);
  void MouseLeave();
  void ApplyStateColor(int props);
};

// Publishes HUEOffset and Saturation besides what TsCommonData stores.
class TsCtrlSkinData : public TsCommonData {
  FW_DECLARE_CLASS

 public:
  using TsCommonData::TsCommonData;
};

// Asks parent for its background, by message to its window when it has one, else by direct
// dispatch; an unskinned parent answers with its colour, or paints itself with drawNow.
void RequestParentBackground(BackgroundInfo& info, fw::TControl* parent, bool drawNow);
// The same for a plain parent window.
void RequestParentBackground(BackgroundInfo& info, plat::HWND parent, bool drawNow);
void BackgroundToCacheInfo(const BackgroundInfo& info, TCacheInfo& cacheInfo);

// Copies source of the skin state's cache to target of dc without painting over the children
// whose own painting covers them; offset is where the control's client origin lies in dc.
void CopyCacheToDC(fw::TControl* control, TsCommonData* skinData, const plat::RECT& source, plat::POINT offset,
                   bool updateCorners, plat::HDC dc, const plat::RECT& target);
// The same for a plain window: every visible child window is left out, a group box but its frame.
void CopyCacheToWindowDC(plat::HWND window, TsCommonData* skinData, const plat::RECT& source, plat::POINT offset,
                         bool updateCorners, plat::HDC dc, const plat::RECT& target);

// The section whose font colour text on control takes; defaultIndex when no parent gives one.
int FontSectionIndex(fw::TControl* control, int defaultIndex, TsSkinManager* manager, int state);

// The glow effect around a control: a handle, -1 when none is shown.
struct TacGlowRequest {
  plat::RECT ScreenRect{};
  plat::HWND TopWindow = nullptr;
  std::string Section;
  std::string MaskSuffix;
  int Opacity = 255;
  int Margin = 0;
};
int ShowGlow(const TacGlowRequest& request);
void HideGlow(int id);

}  // namespace velmora
