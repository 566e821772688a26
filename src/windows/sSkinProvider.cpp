// The skin provider's life: construction and attachment to its form, preparation for a skin,
// the frame geometry, its stored settings and the providers the skin manager's hook makes.
#include "windows/sSkinProvider.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/stored_properties.h"
#include "paint/section_lookup.h"
#include "platform/wm/metrics.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSystemMenu.h"
#include "platform/wm/menus.h"

namespace velmora {

namespace {

constexpr const char* kFormSection = "FORM";
constexpr const char* kFormsOnly = "TsSkinProvider component may be used with forms only!";
constexpr const char* kOneInstance = "Only one instance of the TsSkinProvider component is allowed!";

constexpr fw::TEnumValue kGripModes[] = {{"gmNone", gmNone}, {"gmRightBottom", gmRightBottom}};
constexpr fw::TEnumType kGripModeType{"TacGripMode", kGripModes};
constexpr fw::TEnumValue kResizeModes[] = {{"rmStandard", rmStandard}, {"rmBorder", rmBorder}};
constexpr fw::TEnumType kResizeModeType{"TacResizeMode", kResizeModes};
constexpr fw::TEnumValue kSubMenuPositions[] = {{"ipTop", ipTop}, {"ipBottom", ipBottom}, {"ipBeforeClose", ipBeforeClose}};
constexpr fw::TEnumType kSubMenuPositionType{"TacSysSubMenuPosition", kSubMenuPositions};

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool Designing(const fw::TComponent* c) { return c->ComponentState().Contains(fw::csDesigning); }
bool BeingDestroyed(const fw::TComponent* c) { return c->ComponentState().Contains(fw::csDestroying); }

// Set while CreateRT constructs: such a provider waits for its first hit test, paint or show.
bool gCreatingRT = false;

}  // namespace

// ---- stored parts ---------------------------------------------------------------------------

const fw::TMetaClass& TsTitleButton::StaticClass() {
  static const fw::TMetaClass meta("TsTitleButton", &fw::TCollectionItem::StaticClass(), nullptr,
                                   fw::Stored<TsTitleButton>([](auto& b) {
                                     b.String("Name", &TsTitleButton::SetName);
                                     b.String("Hint", &TsTitleButton::SetHint);
                                     b.Boolean("Enabled", &TsTitleButton::SetEnabled);
                                     b.Boolean("Visible", &TsTitleButton::SetVisible);
                                     b.Boolean("UseSkinData", &TsTitleButton::SetUseSkinData);
                                     b.Object("Glyph", [](TsTitleButton& t) { return &t.Glyph; });
                                   }));
  return meta;
}

TsTitleButton::TsTitleButton(fw::TCollection* collection) : fw::TCollectionItem(collection) {}

const fw::TMetaClass& TacAddedTitle::StaticClass() {
  static const fw::TMetaClass meta("TacAddedTitle", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacAddedTitle>([](auto& b) {
                                     b.String("Text", &TacAddedTitle::SetText);
                                     b.Boolean("ShowMainCaption", &TacAddedTitle::SetShowMainCaption);
                                     b.Object("Font", &TacAddedTitle::Font);
                                   }));
  return meta;
}

TacAddedTitle::TacAddedTitle() { font_.SetColor(fw::clNone); }

const fw::TMetaClass& TsTitleIcon::StaticClass() {
  static const fw::TMetaClass meta("TsTitleIcon", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TsTitleIcon>([](auto& b) {
                                     b.Integer("Width", &TsTitleIcon::SetWidth);
                                     b.Integer("Height", &TsTitleIcon::SetHeight);
                                     b.Boolean("Visible", &TsTitleIcon::SetVisible);
                                     b.Object("Glyph", [](TsTitleIcon& t) { return &t.Glyph; });
                                   }));
  return meta;
}

const fw::TMetaClass& TacSysSubMenu::StaticClass() {
  static const fw::TMetaClass meta("TacSysSubMenu", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacSysSubMenu>([](auto& b) {
                                     b.String("Caption", &TacSysSubMenu::SetCaption);
                                     b.Enum("Position", &TacSysSubMenu::SetPosition, kSubMenuPositionType);
                                   }));
  return meta;
}

const fw::TMetaClass& TsSkinProvider::StaticClass() {
  static const fw::TMetaClass meta(
      "TsSkinProvider", &fw::TComponent::StaticClass(), fw::FactoryFor<TsSkinProvider>(),
      fw::Stored<TsSkinProvider>([](auto& b) {
        b.Object("SkinData", &TsSkinProvider::SkinData);
        b.Object("AddedTitle", &TsSkinProvider::AddedTitle);
        b.Object("TitleIcon", &TsSkinProvider::TitleIcon);
        b.Object("SysSubMenu", &TsSkinProvider::SysSubMenu);
        b.Collection("TitleButtons", &TsSkinProvider::TitleButtons);
        b.Boolean("AllowAnimation", &TsSkinProvider::SetAllowAnimation);
        b.Boolean("AllowExtBorders", &TsSkinProvider::SetAllowExtBorders);
        b.Boolean("AllowBlendOnMoving", &TsSkinProvider::SetAllowBlendOnMoving);
        b.Enum("CaptionAlignment", &TsSkinProvider::SetCaptionAlignment, fw::AlignmentType());
        b.Boolean("DrawNonClientArea", &TsSkinProvider::SetDrawNonClientArea);
        b.Boolean("DrawClientArea", &TsSkinProvider::SetDrawClientArea);
        b.Enum("GripMode", &TsSkinProvider::SetGripMode, kGripModeType);
        b.Boolean("MakeSkinMenu", &TsSkinProvider::SetMakeSkinMenu);
        b.String("MenuLineSkin", &TsSkinProvider::SetMenuLineSkin);
        b.Enum("ResizeMode", &TsSkinProvider::SetResizeMode, kResizeModeType);
        b.Boolean("ScreenSnap", &TsSkinProvider::SetScreenSnap);
        b.Integer("SnapBuffer", &TsSkinProvider::SetSnapBuffer);
        b.Boolean("ShowAppIcon", &TsSkinProvider::SetShowAppIcon);
        b.String("TitleSkin", &TsSkinProvider::SetTitleSkin);
        b.Boolean("UseGlobalColor", &TsSkinProvider::SetUseGlobalColor);
        b.Event("OnExtHitTest", &TsSkinProvider::SetOnExtHitTest);
        b.Event("OnAfterAnimation", &TsSkinProvider::SetOnAfterAnimation);
      }));
  return meta;
}

// What the skin manager's hook owns for a form it skinned: the provider is the form's component
// (freed with it), this record frees it with the window or the hook, whichever goes first.
class TacHookedProvider : public TacHookProvider {
 public:
  TacHookedProvider(fw::TCustomForm* form) : form_(form) {}
  ~TacHookedProvider() override {
    if (!provider_) return;
    provider_->HookLink = nullptr;
    if (!BeingDestroyed(form_)) fw::FreeComponent(provider_);
    else provider_->Unhook();
  }
  void Initialize() override {
    provider_ = TsSkinProvider::CreateRT(form_);
    if (provider_->RTEmpty) {
      fw::FreeComponent(provider_);
      provider_ = nullptr;
      return;
    }
    provider_->HookLink = this;
    provider_->UseGlobalColor = false;
    provider_->MakeSkinMenu = false;
    if (form_->HandleAllocated()) {
      plat::RedrawWindow(form_->Handle(), nullptr, nullptr,
                         plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_ALLCHILDREN);
      plat::SendMessage(form_->Handle(), plat::WM_NCPAINT, 1, 0);
    }
  }
  void Forget() { provider_ = nullptr; }

 private:
  fw::TCustomForm* form_;
  TsSkinProvider* provider_ = nullptr;
};

// ---- construction and attachment ------------------------------------------------------------

TsSkinProvider* ProviderOf(fw::TCustomForm* form) {
  if (!form || !form->HandleAllocated()) return nullptr;
  return reinterpret_cast<TsSkinProvider*>(
      plat::SendMessage(form->Handle(), SkinCommandMessage, SkinParam(scGetProvider), 0));
}

TsSkinProvider::TsSkinProvider(fw::TComponent* owner) : fw::TComponent(owner) {
  skinData_.COC = COC_TsSkinProvider;
  skinData_.SetSkinSection(kFormSection);
  Form = dynamic_cast<fw::TCustomForm*>(owner);
  if (!Form) throw fw::EAbort(kFormsOnly);
  // Another provider on the form: a run-time one gives way, a placed one makes this one empty.
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto* other = dynamic_cast<TsSkinProvider*>(Form->Components(i));
    if (!other || other == this || other->RTEmpty || BeingDestroyed(other)) continue;
    if (Designing(this)) throw fw::EAbort(kOneInstance);
    if (other->RTInit || other->HookLink) {
      other->Unhook();
      other->RTEmpty = true;
    } else {
      RTEmpty = true;
    }
  }
  // The platform has no desktop composition.
  InAero = false;
  if (RTEmpty) return;
  Form->SetDoubleBuffered(false);
  Hook();
  FormActive = true;
  RTInit = gCreatingRT;
  if (!RTInit && !Designing(this) && Manager() && Manager()->Active() && !Form->ComponentState().Contains(fw::csLoading))
    PrepareForm();
}

TsSkinProvider* TsSkinProvider::CreateRT(fw::TComponent* owner, bool init) {
  gCreatingRT = init;
  TsSkinProvider* provider = nullptr;
  try {
    provider = fw::New<TsSkinProvider>(owner);
  } catch (...) {
    gCreatingRT = false;
    throw;
  }
  gCreatingRT = false;
  return provider;
}

TsSkinProvider::~TsSkinProvider() {
  if (HookLink) HookLink->Forget();
  Unhook();
  SystemMenu.reset();
}

void TsSkinProvider::Hook() {
  if (hooked_ || !Form) return;
  OldWndProc = Form->WindowProc;
  Form->WindowProc = [this](fw::TMessage& m) { NewWndProc(m); };
  hooked_ = true;
  SkinnedForms().push_back(Form);
}

// The form gets back the procedure it had, and its own frame.
void TsSkinProvider::Unhook() {
  if (!hooked_) return;
  hooked_ = false;
  std::erase(SkinnedForms(), Form);
  Form->WindowProc = OldWndProc;
  if (Form->HandleAllocated() && !BeingDestroyed(Form)) {
    plat::SetWindowRgn(Form->Handle(), nullptr, plat::TRUE);
    plat::RedrawWindow(Form->Handle(), nullptr, nullptr, plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_ERASE);
  }
}

void TsSkinProvider::CallOld(fw::TMessage& m) {
  if (OldWndProc) OldWndProc(m);
}

void TsSkinProvider::Loaded() {
  fw::TComponent::Loaded();
  if (!RTEmpty && !RTInit && Manager() && Manager()->Active() && !Designing(this)) LoadInit();
}

const TacSkinIndex* TsSkinProvider::Skin() const { return skinData_.PaintIndex(); }

bool TsSkinProvider::Runnable() const {
  TsSkinManager* m = Manager();
  return !RTEmpty && hooked_ && Form && m && m->Active() && m->SkinData().Active && !SkinLoading();
}

bool TsSkinProvider::Skinned() const { return Runnable() && !RTInit && skinData_.IsSkinned(); }

void TsSkinProvider::LoadInit() {
  RTInit = false;
  PrepareForm();
  if (SystemMenu) SystemMenu->UpdateItems();
  if (Form->BorderStyle() == fw::bsSizeToolWin) {
    AllowBlendOnMoving = false;
    UseGlobalColor = true;
  }
}

void TsSkinProvider::UpdateTitleIndexes() {
  const TacSkinIndex* skin = Skin();
  FTitleSkinIndex = skin ? skin->GetSkinIndex(TitleSkin.empty() ? "FORMTITLE" : TitleSkin) : -1;
  FCaptionSkinIndex = skin ? skin->GetSkinIndex("CAPTION") : -1;
}

void TsSkinProvider::PrepareForm() {
  if (RTInit || RTEmpty || !Form || !Manager() || !Runnable()) return;
  skinData_.UpdateIndexes();
  // The system menu needs the window; a form without one yet is prepared again when it has it.
  if (!SystemMenu && Form->HandleAllocated()) SystemMenu = std::make_unique<TsSystemMenu>(this);
  UpdateTitleIndexes();
  UpdateIconsIndexes();
  RgnChanged = CaptChanged = true;
  skinData_.BGChanged = true;
  SetFormColor();
  if (Form->Showing()) SyncBorderWindow();
}

void TsSkinProvider::SetFormColor() {
  const auto state = Form->ComponentState();
  if (!UseGlobalColor || skinData_.FCustomColor || state.Contains(fw::csLoading) || BeingDestroyed(Form)) return;
  if (const TacSkinIndex* skin = Skin()) {
    const int global = skin->ConstData.IndexGLobalInfo;
    if (ValidSection(skin, global)) Form->SetColor(skin->gd[static_cast<std::size_t>(global)].Color);
  }
}

// Until the border window exists every form keeps the plain frame, whatever the manager says.
void TsSkinProvider::SyncBorderWindow() {
  TsSkinManager* m = Manager();
  const bool wanted = m && m->ExtendedBordersInEffect() && AllowExtBorders && DrawNonClientArea && HaveBorder() &&
                      HaveCaption() && Form->FormStyle() != fw::fsMDIChild;
  (void)wanted;
}

void TsSkinProvider::SetCaptionAlignment(fw::TAlignment v) {
  CaptionAlignment = v;
  skinData_.BGChanged = true;
}

void TsSkinProvider::SetDrawNonClientArea(bool v) {
  if (DrawNonClientArea == v) return;
  DrawNonClientArea = v;
  RgnChanged = true;
  skinData_.BGChanged = true;
}

void TsSkinProvider::SetTitleSkin(const std::string& v) {
  TitleSkin = Upper(v);
  UpdateTitleIndexes();
  skinData_.BGChanged = true;
}

void TsSkinProvider::SetUseGlobalColor(bool v) {
  UseGlobalColor = v;
  if (v && Skinned()) SetFormColor();
}

// ---- geometry ---------------------------------------------------------------------------------

plat::RECT TsSkinProvider::WindowRect() const {
  plat::RECT r{0, 0, Form->Width(), Form->Height()};
  if (Form->HandleAllocated()) plat::GetWindowRect(const_cast<fw::TCustomForm*>(Form)->Handle(), &r);
  return r;
}

bool TsSkinProvider::HaveBorder() const {
  if (Form->BorderStyle() != fw::bsNone || Form->FormStyle() == fw::fsMDIChild) return true;
  if (!Form->HandleAllocated()) return false;
  const auto style = plat::GetWindowLong(const_cast<fw::TCustomForm*>(Form)->Handle(), plat::GWL_STYLE);
  return (style & plat::WS_CHILD) != 0;
}

bool TsSkinProvider::HaveCaption() const {
  if (!Form->HandleAllocated()) return Form->BorderStyle() != fw::bsNone;
  const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(const_cast<fw::TCustomForm*>(Form)->Handle(), plat::GWL_STYLE));
  return (style & plat::WS_CAPTION) == plat::WS_CAPTION;
}

int TsSkinProvider::FrameBorderWidth(bool checkSkin) const {
  if (HasBorderWindow() && checkSkin) return Manager()->SkinData().ExBorderWidth;
  const auto bs = Form->BorderStyle();
  if (bs == fw::bsSizeable || bs == fw::bsSizeToolWin) return plat::GetSystemMetrics(plat::SM_CXSIZEFRAME);
  return HaveBorder() ? plat::GetSystemMetrics(plat::SM_CXDLGFRAME) : 0;
}

int TsSkinProvider::FrameBorderHeight(bool checkSkin) const {
  return HasBorderWindow() ? 0 : FrameBorderWidth(checkSkin);
}

int TsSkinProvider::FrameCaptionHeight() const {
  static const int caption = plat::GetSystemMetrics(plat::SM_CYCAPTION);
  static const int small = plat::GetSystemMetrics(plat::SM_CYSMCAPTION);
  const auto bs = Form->BorderStyle();
  const bool tool = bs == fw::bsToolWindow || bs == fw::bsSizeToolWin;
  const bool iconic = Form->HandleAllocated() && plat::IsIconic(const_cast<fw::TCustomForm*>(Form)->Handle());
  return tool && !iconic ? small : caption;
}

int TsSkinProvider::CaptionHeight(bool checkSkin) const {
  const bool iconic = Form->HandleAllocated() && plat::IsIconic(const_cast<fw::TCustomForm*>(Form)->Handle());
  if (!(HaveBorder() && HaveCaption()) && !iconic) return 0;
  int height = HasBorderWindow() && checkSkin ? Manager()->SkinData().ExTitleHeight : FrameCaptionHeight();
  if (FSysExHeight) height = std::max(height, plat::GetSystemMetrics(plat::SM_CYCAPTION) + 4);
  return height;
}

int TsSkinProvider::BorderWidth(bool checkSkin) const { return FrameBorderWidth(checkSkin) + Form->BorderWidth(); }
int TsSkinProvider::BorderHeight(bool checkSkin) const { return FrameBorderHeight(checkSkin) + Form->BorderWidth(); }

plat::RECT TsSkinProvider::ShadowSize() const {
  return HasBorderWindow() ? Manager()->FormShadowSize() : plat::RECT{0, 0, 0, 0};
}

int TsSkinProvider::CaptionWidth() const {
  const plat::RECT shadow = ShadowSize();
  int width = plat::RectWidth(WindowRect()) + shadow.left + shadow.right;
  if (HasBorderWindow()) width += 2 * (Manager()->SkinData().ExBorderWidth - FrameBorderWidth(false));
  return width;
}

int TsSkinProvider::OffsetX() const {
  if (HasBorderWindow()) return BorderWidth(true) + ShadowSize().left;
  const plat::RECT client = Form->ClientRect();
  return (plat::RectWidth(WindowRect()) - client.right) / 2;
}

int TsSkinProvider::OffsetY() const {
  if (HasBorderWindow()) return CaptionHeight(true) + Form->BorderWidth() + ShadowSize().top;
  const plat::RECT client = Form->ClientRect();
  return plat::RectHeight(WindowRect()) - client.bottom - BorderHeight(false);
}

int TsSkinProvider::HeaderHeight() const { return BorderHeight(false) + CaptionHeight(false); }

TColor TsSkinProvider::FormColor() const {
  const TacSkinIndex* skin = Skin();
  if (!Skinned() || skinData_.FCustomColor || !skin) return fw::ColorToRGB(Form->Color());
  const TsGeneralData& g = skin->gd[static_cast<std::size_t>(skinData_.SkinIndex)];
  return FormActive && g.States > 1 ? g.HotColor : g.Color;
}

// ---- the window procedure ---------------------------------------------------------------------

namespace {

bool IsBorderCode(plat::LRESULT r) { return r >= plat::HTLEFT && r <= plat::HTBOTTOMRIGHT; }

}  // namespace

void TsSkinProvider::StopRedraw() {
  if (Form->HandleAllocated()) plat::SendMessage(Form->Handle(), plat::WM_SETREDRAW, 0, 0);
}

void TsSkinProvider::ResumeRedraw(bool redraw) {
  if (!Form->HandleAllocated()) return;
  plat::SendMessage(Form->Handle(), plat::WM_SETREDRAW, 1, 0);
  if (redraw)
    plat::RedrawWindow(Form->Handle(), nullptr, nullptr,
                       plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_ALLCHILDREN | plat::RDW_UPDATENOW);
}

// The old procedure with the platform's own caption kept off the screen: redrawing is stopped
// around it (unless the form already stopped it itself).
void TsSkinProvider::ProtectedOld(fw::TMessage& m) {
  const bool stop = LockCount == 0 && Form->HandleAllocated() && plat::IsWindowVisible(Form->Handle());
  if (stop) StopRedraw();
  CallOld(m);
  if (stop && Form->HandleAllocated()) plat::SendMessage(Form->Handle(), plat::WM_SETREDRAW, 1, 0);
}

void TsSkinProvider::RepaintFrame() {
  if (Form->HandleAllocated() && plat::IsWindowVisible(Form->Handle())) PaintNonClient();
}

void TsSkinProvider::RepaintCaption(bool backgroundChanged) {
  if (backgroundChanged) skinData_.BGChanged = true;
  RepaintFrame();
}

void TsSkinProvider::NewSkin() {
  skinData_.UpdateIndexes();
  UpdateTitleIndexes();
  UpdateIconsIndexes();
  FGlow1 = TacGlowMask();
  FGlow2 = TacGlowMask();
  SetFormColor();
  RgnChanged = true;
  skinData_.BGChanged = true;
  if (!SystemMenu && Form->HandleAllocated()) SystemMenu = std::make_unique<TsSystemMenu>(this);
  if (Form->HandleAllocated() && plat::IsWindowVisible(Form->Handle()))
    plat::RedrawWindow(Form->Handle(), nullptr, nullptr,
                       plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_ALLCHILDREN);
}

void TsSkinProvider::RemoveSkin() {
  fw::TMessage m = MakeSkinMessage(scRemoveSkin, reinterpret_cast<plat::LPARAM>(Manager()));
  BroadcastToControls(Form, m);
  if (Form->HandleAllocated()) {
    plat::SetWindowRgn(Form->Handle(), nullptr, plat::TRUE);
    plat::RedrawWindow(Form->Handle(), nullptr, nullptr, plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_ERASE);
  }
  if (UseGlobalColor && !skinData_.FCustomColor) Form->SetColor(fw::clBtnFace);
  skinData_.FCacheBmp.reset();
  skinData_.BGChanged = true;
  RgnChanged = true;
}

// While the skin is off, only new-skin and provider questions are answered.
bool TsSkinProvider::NotSkinnedMessage(fw::TMessage& m) {
  if (m.Msg == SkinCommandMessage) {
    const plat::WORD command = SkinCommandOf(m.WParam);
    if (command == scGetProvider) {
      m.Result = reinterpret_cast<plat::LRESULT>(this);
      return true;
    }
    if (command == scNewSkin && !RTEmpty && !BeingDestroyed(Form)) {
      CallOld(m);
      if (Runnable() && !RTInit) {
        PrepareForm();
        NewSkin();
      }
      return true;
    }
  }
  CallOld(m);
  return true;
}

void TsSkinProvider::SkinCommand(fw::TMessage& m) {
  const plat::WORD command = SkinCommandOf(m.WParam);
  switch (command) {
    case scNewSkin:
      CallOld(m);
      if (!BeingDestroyed(Form)) NewSkin();
      return;
    case scRemoveSkin:
      CallOld(m);
      RemoveSkin();
      return;
    case scRefresh:
      skinData_.BGChanged = true;
      RgnChanged = true;
      CallOld(m);
      if (Form->HandleAllocated() && plat::IsWindowVisible(Form->Handle()))
        plat::RedrawWindow(Form->Handle(), nullptr, nullptr,
                           plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_ALLCHILDREN);
      return;
    case scGetProvider: m.Result = reinterpret_cast<plat::LRESULT>(this); return;
    case scEndParentUpdate:
      skinData_.FUpdating = false;
      RepaintFrame();
      return;
    case scIsHandled: m.Result = 1; return;
    case scSetUpdating:
      skinData_.FUpdating = m.LParam != 0;
      if (skinData_.FUpdating) skinData_.BGChanged = true;
      return;
    case scSetUrgentPainting:
      skinData_.HandleSkinCommand(m);
      if (skinData_.UrgentPainting) PaintAll();
      return;
    case scIsChanged: m.Result = skinData_.FUpdating ? 1 : 0; return;
    case scBackgroundChanged: skinData_.BGChanged = true; return;
    case scGetBackgroundColor: m.Result = FormColor(); return;
    case scQueryParent: return;
    case scMouseLeave:
      ResetHot();
      return;
    case scGetBackgroundInfo: {
      auto* info = reinterpret_cast<BackgroundInfo*>(m.LParam);
      if (!info) return;
      if (!PictureReady()) {
        info->Kind = bkFill;
        info->Color = FormColor();
        info->Bitmap = nullptr;
        return;
      }
      info->Kind = bkPicture;
      info->Bitmap = skinData_.FCacheBmp.get();
      info->Color = FormColor();
      info->Offset.x += OffsetX();
      info->Offset.y += OffsetY();
      return;
    }
    case scControlState: m.Result = skinData_.CtrlSkinState; return;
    case scStopRedraw: StopRedraw(); return;
    case scResumeRedraw: ResumeRedraw(true); return;
    case scGetApplication: m.Result = reinterpret_cast<plat::LRESULT>(fw::Application); return;
    case scGetClientOffset: m.Result = plat::MAKELONG(OffsetX(), OffsetY()); return;
    case scRepaintCaption: RepaintCaption(m.LParam == 1); return;
    default:
      if (!skinData_.HandleSkinCommand(m)) CallOld(m);
      return;
  }
}

void TsSkinProvider::NcActivate(fw::TMessage& m) {
  if (!(FormState & kFsShowAnimation)) FormActive = m.WParam != 0;
  const TacSkinIndex* skin = Skin();
  const TsGeneralData& section = skin->gd[static_cast<std::size_t>(skinData_.SkinIndex)];
  bool multiState = section.States > 1;
  if (ValidMask(skin, skinData_.BorderIndex))
    multiState = multiState || skin->ma[static_cast<std::size_t>(skinData_.BorderIndex)].ImageCount > 1;
  if (multiState) skinData_.BGChanged = true;
  FormState |= kFsInActivation;
  // Without desktop composition the platform's caption is kept off by stopping the redraw;
  // lParam -1 tells the platform not to paint its frame at all.
  fw::TMessage old = m;
  old.LParam = -1;
  ProtectedOld(old);
  m.Result = old.Result;
  FormState &= ~kFsInActivation;
  // Otherwise only the title, caption and buttons change, over the picture as it is.
  if (!multiState && !skinData_.BGChanged) PaintTitleBar();
  RepaintFrame();
}

void TsSkinProvider::NcHitTest(fw::TMessage& m) {
  if (RTInit) LoadInit();
  if (!Skinned() || !HaveCaption() || !DrawNonClientArea) {
    CallOld(m);
    return;
  }
  const int code = HTProcess({plat::GET_X_LPARAM(m.LParam), plat::GET_Y_LPARAM(m.LParam)});
  const bool platformKind = code == 0 || code == plat::HTCLIENT || code == plat::HTCAPTION || code == plat::HTMENU ||
                            (code >= plat::HTLEFT && code <= plat::HTBOTTOMRIGHT);
  if (!platformKind || (code == plat::HTBOTTOMRIGHT && GripMode == gmRightBottom)) {
    m.Result = code;
    return;
  }
  CallOld(m);
  // The platform's own buttons and icon lie where the skin may draw something else.
  if (!IsBorderCode(m.Result) && m.Result != plat::HTCLIENT && m.Result != 0 && m.Result != plat::HTMENU)
    m.Result = code;
}

void TsSkinProvider::NcPaintMessage(fw::TMessage& m) {
  if (RTInit) LoadInit();
  if (!SystemMenu) PrepareForm();
  m.Result = 0;
  if (!Skinned() || !DrawNonClientArea) {
    CallOld(m);
    return;
  }
  if (!plat::IsWindowVisible(Form->Handle()) || (FormState & kFsMinimizeAnimation) || !SystemMenu) return;
  PaintNonClient();
}

void TsSkinProvider::SizeMessage(fw::TMessage& m) {
  if (skinData_.FUpdating) {
    RgnChanged = true;
    skinData_.BGChanged = true;
    CallOld(m);
    return;
  }
  const plat::RECT client = Form->ClientRect();
  const bool changed = !plat::EqualRect(&client, &lastClient_);
  if (changed) {
    FGlow1 = TacGlowMask();
    FGlow2 = TacGlowMask();
  }
  CallOld(m);
  if (changed && Form->Showing()) {
    RgnChanged = true;
    skinData_.BGChanged = true;
    plat::SendMessage(Form->Handle(), plat::WM_NCPAINT, 1, 0);
    if (skinData_.BGType & (BGT_GRADIENTHORZ | BGT_GRADIENTVERT | BGT_TEXTURE)) {
      fw::TMessage moved = MakeSkinMessage(scMoved);
      moved.WParam = SkinParam(scMoved, 1);
      BroadcastToControls(Form, moved);
    }
  }
  lastClient_ = client;
}

void TsSkinProvider::SetTextMessage(fw::TMessage& m) {
  if (!DrawNonClientArea || !Form->HandleAllocated() || !plat::IsWindowVisible(Form->Handle())) {
    CallOld(m);
    return;
  }
  FGlow1 = TacGlowMask();
  FGlow2 = TacGlowMask();
  skinData_.BGChanged = true;
  ProtectedOld(m);
  RepaintFrame();
}

void TsSkinProvider::SysCommand(fw::TMessage& m) {
  const plat::WPARAM command = m.WParam & 0xFFF0;
  if (command == plat::SC_KEYMENU && m.LParam == ' ' && HaveCaption() && DrawNonClientArea) {
    ResetHot();
    const plat::RECT window = WindowRect();
    DropSysMenu(window.left + FIconRect.left + FrameBorderWidth(true),
                window.top + BorderHeight(true) + CaptionHeight(true));
    return;
  }
  CallOld(m);
}

void TsSkinProvider::PaintMessage(fw::TMessage& m) {
  if (!DrawClientArea) {
    CallOld(m);
    return;
  }
  plat::PAINTSTRUCT ps;
  const plat::HDC given = reinterpret_cast<plat::HDC>(m.WParam);
  const plat::HDC dc = given ? given : plat::BeginPaint(Form->Handle(), &ps);
  if (dc && !BeingDestroyed(Form)) {
    if (PaintClientBackground(dc)) Form->PaintControls(dc, nullptr);
  }
  if (!given) plat::EndPaint(Form->Handle(), &ps);
  m.Result = 0;
}

void TsSkinProvider::EraseMessage(fw::TMessage& m) {
  if (!DrawClientArea) {
    CallOld(m);
    return;
  }
  if (skinData_.FUpdating) return;
  if (PaintClientBackground(reinterpret_cast<plat::HDC>(m.WParam))) m.Result = 1;
  else CallOld(m);
}

void TsSkinProvider::NewWndProc(fw::TMessage& m) {
  if (!hooked_) {
    CallOld(m);
    return;
  }
  // A run-time provider starts drawing at the first hit test, paint or show.
  if (RTInit) {
    if (m.Msg == plat::WM_NCHITTEST || m.Msg == plat::WM_NCPAINT) {
      if (Runnable()) {
        LoadInit();
        if (Skinned()) {
          plat::RedrawWindow(Form->Handle(), nullptr, nullptr,
                             plat::RDW_FRAME | plat::RDW_INVALIDATE | plat::RDW_ERASE | plat::RDW_ALLCHILDREN);
        }
      }
    } else if (m.Msg == fw::CM_VISIBLECHANGED && m.WParam && Runnable()) {
      LoadInit();
    }
  }
  if ((m.Msg == plat::WM_CREATE || m.Msg == plat::WM_SHOWWINDOW) && !BeingDestroyed(Form) && !RTInit &&
      Runnable() && !SystemMenu) {
    CallOld(m);
    PrepareForm();
    return;
  }
  if (BeingDestroyed(Form) || !Skinned()) {
    NotSkinnedMessage(m);
    return;
  }
  if (m.Msg == SkinCommandMessage) {
    SkinCommand(m);
    return;
  }
  if (TitleMouse(m)) return;
  switch (m.Msg) {
    case plat::WM_CREATE:
    case plat::WM_NCCREATE:
      CallOld(m);
      PrepareForm();
      return;
    case plat::WM_SIZE: SizeMessage(m); return;
    case plat::WM_SETREDRAW:
      if (m.WParam) LockCount = std::max(0, LockCount - 1);
      else ++LockCount;
      CallOld(m);
      return;
    case plat::WM_SETTEXT: SetTextMessage(m); return;
    case plat::WM_PAINT: PaintMessage(m); return;
    case plat::WM_ERASEBKGND: EraseMessage(m); return;
    case plat::WM_PRINTCLIENT: m.Result = 0; return;
    case plat::WM_PRINT: {
      const plat::HDC dc = reinterpret_cast<plat::HDC>(m.WParam);
      if (dc && PictureReady()) {
        fw::TBitmap& bmp = *skinData_.FCacheBmp;
        plat::BitBlt(dc, 0, 0, bmp.Width(), bmp.Height(), bmp.Canvas().Handle(), 0, 0, plat::SRCCOPY);
        const int saved = plat::SaveDC(dc);
        plat::OffsetViewportOrgEx(dc, OffsetX(), OffsetY(), nullptr);
        Form->PaintControls(dc, nullptr);
        plat::RestoreDC(dc, saved);
      }
      return;
    }
    case plat::WM_SHOWWINDOW:
      if (m.WParam) FormState &= kFsRestoreSize;
      CallOld(m);
      return;
    case plat::WM_SETTINGCHANGE:
      skinData_.BGChanged = true;
      CallOld(m);
      return;
    case plat::WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<plat::MINMAXINFO*>(m.LParam);
      if (info && HaveBorder() && !Form->Parent()) {
        plat::RECT work{};
        plat::SystemParametersInfo(plat::SPI_GETWORKAREA, 0, &work, 0);
        const int f = FrameBorderWidth(false);
        info->ptMaxPosition = {-f, -f};
        info->ptMaxSize = {plat::RectWidth(work) + 2 * f, plat::RectHeight(work) + 2 * f};
      }
      CallOld(m);
      return;
    }
    case plat::WM_STYLECHANGED:
      CallOld(m);
      if (SystemMenu) SystemMenu->UpdateItems();
      UpdateIconsIndexes();
      RepaintCaption(true);
      return;
    case plat::WM_SETICON:
      ProtectedOld(m);
      RepaintCaption(true);
      return;
    case plat::WM_NCHITTEST: NcHitTest(m); return;
    case plat::WM_NCPAINT: NcPaintMessage(m); return;
    case plat::WM_NCACTIVATE: NcActivate(m); return;
    case plat::WM_NCMOUSELEAVE:
      ResetHot();
      CallOld(m);
      return;
    case plat::WM_LBUTTONUP:
      SetTitleButtonPressed(false);
      CallOld(m);
      return;
    case plat::WM_SYSCOMMAND: SysCommand(m); return;
    case plat::WM_ENTERIDLE: m.Result = 0; return;
    case plat::WM_POPUPSYSTEMMENU:
      DropSysMenu(plat::GET_X_LPARAM(m.LParam), plat::GET_Y_LPARAM(m.LParam));
      return;
    case plat::WM_PARENTNOTIFY: {
      CallOld(m);
      fw::TMessage repaint = MakeSkinMessage(scControlState);
      repaint.WParam = SkinParam(scControlState, 1);
      BroadcastToControls(Form, repaint);
      return;
    }
    case plat::WM_ACTIVATE:
      CallOld(m);
      if (plat::LOWORD(m.WParam) != plat::WA_INACTIVE && SystemMenu) SystemMenu->UpdateItems();
      return;
    case fw::CM_VISIBLECHANGED:
      CallOld(m);
      if (!m.WParam) {
        if (skinData_.FCacheBmp) skinData_.FCacheBmp->SetSize(0, 0);
        skinData_.BGChanged = true;
      }
      return;
    case fw::CM_ENABLEDCHANGED:
      CallOld(m);
      skinData_.BGChanged = true;
      RepaintFrame();
      return;
    case fw::CM_MENUCHANGED:
      if (!(FormState & kFsShowAnimation)) skinData_.BGChanged = true;
      CallOld(m);
      return;
    case fw::CM_MOUSELEAVE:
      CallOld(m);
      return;
    case fw::CM_COLORCHANGED:
      skinData_.BGChanged = true;
      CallOld(m);
      return;
    default: CallOld(m); return;
  }
}

// ---- the hook's providers -------------------------------------------------------------------

void RegisterProviderClasses() {
  fw::RegisterClass<TsSkinProvider>();
  SetHookProviderFactory([](const THookRequest& request) -> std::unique_ptr<TacHookProvider> {
    if (request.Target != THookTarget::Form || !request.Form) return nullptr;
    return std::make_unique<TacHookedProvider>(request.Form);
  });
}

}  // namespace velmora
