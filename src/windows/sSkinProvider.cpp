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
bool Destroying(const fw::TComponent* c) { return c->ComponentState().Contains(fw::csDestroying); }

// Set while CreateRT constructs: such a provider waits for its first hit test, paint or show.
bool gCreatingRT = false;

}  // namespace

// ---- the form's skin state --------------------------------------------------------------------

const fw::TMetaClass& TacFormSkinData::StaticClass() {
  static const fw::TMetaClass meta("TacFormSkinData", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacFormSkinData>([](auto& b) {
                                     b.String("SkinSection", &TacFormSkinData::SetSkinSection);
                                   }));
  return meta;
}

TacFormSkinData::TacFormSkinData(TsSkinProvider* provider) : provider_(provider) {
  FSkinSection = kFormSection;
  COC = kFormClassCode;
}

void TacFormSkinData::SetSkinSection(const std::string& value) {
  const std::string upper = value.empty() ? std::string(kFormSection) : Upper(value);
  if (upper == FSkinSection) return;
  FSkinSection = upper;
  UpdateIndexes();
  BGChanged = true;
}

TsSkinManager* TacFormSkinData::SkinManager() const { return FSkinManager ? FSkinManager : DefaultManager(); }

void TacFormSkinData::UpdateIndexes() {
  const TacSkinIndex* skin = PaintIndex();
  SkinIndex = skin ? skin->GetSkinIndex(FSkinSection) : -1;
  BorderIndex = Texture = HotTexture = -1;
  if (!IsSkinned()) return;
  const TsGeneralData& g = skin->gd[static_cast<std::size_t>(SkinIndex)];
  BorderIndex = g.BorderIndex;
  Texture = g.TextureNormal;
  HotTexture = g.States > 1 ? g.Props[1].TextureIndex : -1;
}

TColor TacFormSkinData::OwnerColor() const {
  return provider_ && provider_->Form ? fw::ColorToRGB(provider_->Form->Color()) : 0xFFFFFF;
}

// A form is a top-level window: nothing lies behind it.
TacParentBackground TacFormSkinData::QueryParentBackground(TCacheInfo& info) {
  info = TCacheInfo{};
  return TacParentBackground::NoParent;
}

TColor TacFormSkinData::EffectiveColor(int) { return provider_ ? provider_->FormColor() : OwnerColor(); }

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
    if (!Destroying(form_)) fw::FreeComponent(provider_);
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

TsSkinProvider::TsSkinProvider(fw::TComponent* owner) : fw::TComponent(owner), skinData_(this) {
  Form = dynamic_cast<fw::TCustomForm*>(owner);
  if (!Form) throw fw::EAbort(kFormsOnly);
  // Another provider on the form: a run-time one gives way, a placed one makes this one empty.
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto* other = dynamic_cast<TsSkinProvider*>(Form->Components(i));
    if (!other || other == this || other->RTEmpty || Destroying(other)) continue;
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
  if (Form->HandleAllocated() && !Destroying(Form)) {
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
  if (RTInit || RTEmpty || !Form || !Manager() || !Form->HandleAllocated() || !Runnable()) return;
  skinData_.UpdateIndexes();
  if (!SystemMenu) SystemMenu = std::make_unique<TsSystemMenu>(this);
  UpdateTitleIndexes();
  UpdateIconsIndexes();
  RgnChanged = CaptChanged = true;
  skinData_.BGChanged = true;
  SetFormColor();
  if (Form->Showing()) SyncBorderWindow();
}

void TsSkinProvider::SetFormColor() {
  const auto state = Form->ComponentState();
  if (!UseGlobalColor || skinData_.FCustomColor || state.Contains(fw::csLoading) || Destroying(Form)) return;
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

// ---- the hook's providers -------------------------------------------------------------------

void RegisterProviderClasses() {
  fw::RegisterClass<TsSkinProvider>();
  SetHookProviderFactory([](const THookRequest& request) -> std::unique_ptr<TacHookProvider> {
    if (request.Target != THookTarget::Form || !request.Form) return nullptr;
    return std::make_unique<TacHookedProvider>(request.Form);
  });
}

}  // namespace velmora
