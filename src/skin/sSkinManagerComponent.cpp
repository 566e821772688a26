#include "skin/sSkinManagerComponent.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/common_dialogs.h"
#include "framework/stored_properties.h"
#include "framework/sysutils.h"
#include "platform/files/paths.h"
#include "platform/gdi/modules.h"
#include "platform/wm/dialogs.h"
#include "skin/sMessages.h"

namespace velmora {

namespace {

TsSkinManager* gDefault = nullptr;
bool gLoading = false;
bool gChanging = false;
std::string gChangedSection;
TSkinMessageHandler gMessageHandler;
std::vector<std::string> gArguments;
std::string gProgramFolder;

constexpr const char* kNewerSkinWarning =
    "This version of the skin have not complete support by used Brivantis package release.\r\n"
    "Components must be updated up to latest version for using this skin.";

// Clears the loading flag however the load ends.
struct LoadingScope {
  bool was = gLoading;
  LoadingScope() { gLoading = true; }
  ~LoadingScope() { gLoading = was; }
};

bool HasArgument(std::string_view wanted) {
  return std::any_of(gArguments.begin(), gArguments.end(),
                     [&](const std::string& a) { return fw::LowerCase(a) == wanted; });
}

// A directory with its trailing backslash: a trailing "/" turns into one, a drive letter gets ":\".
std::string WithTrailingBackslash(std::string dir) {
  if (!dir.empty() && dir.back() == '/') dir.back() = '\\';
  else if (dir.size() == 1) dir += ":\\";
  else if (dir.empty() || dir.back() != '\\') dir += '\\';
  return dir;
}

constexpr fw::TEnumValue kRules[] = {
    {"srStdForms", srStdForms}, {"srStdDialogs", srStdDialogs}, {"srThirdParty", srThirdParty}};
constexpr fw::TEnumType kRuleType{"TacSkinningRule", kRules};

}  // namespace

const fw::TEnumType& SkinningRuleType() { return kRuleType; }

TsSkinManager* DefaultManager() { return gDefault; }
bool SkinLoading() { return gLoading; }
bool SkinChanging() { return gChanging; }
const std::string& ChangedSectionName() { return gChangedSection; }

void SetSkinMessageHandler(TSkinMessageHandler handler) { gMessageHandler = std::move(handler); }
void ShowSkinMessage(const std::string& text, plat::UINT type) {
  if (gMessageHandler) gMessageHandler(text, type);
  else plat::MessageBox(nullptr, text.c_str(), fw::Application ? fw::Application->Title().c_str() : "", type);
}
void SetProgramArguments(std::vector<std::string> args) { gArguments = std::move(args); }
const std::vector<std::string>& ProgramArguments() { return gArguments; }
void SetProgramFolder(std::string folder) { gProgramFolder = std::move(folder); }
std::string ProgramFolder() { return WithTrailingBackslash(gProgramFolder.empty() ? "." : gProgramFolder); }

void RegisterSkinClasses() { fw::RegisterClass<TsSkinManager>(); }

void SkinManagerStartup() {
  LoadBuiltInShadowTemplates();
  if (HasArgument("/acver")) ShowSkinMessage(std::string("Brivantis v") + kSkinEngineVersion, plat::MB_OK);
}

// ---- built-in skins ----------------------------------------------------------------------------

const fw::TMetaClass& TsStoredSkin::StaticClass() {
  static const fw::TMetaClass meta("TsStoredSkin", &fw::TCollectionItem::StaticClass(), nullptr,
                                   fw::Stored<TsStoredSkin>([](auto& b) {
                                     b.String("Name", &TsStoredSkin::SetName);
                                     b.Binary("Data", &TsStoredSkin::ReadData);
                                   }));
  return meta;
}

void TsStoredSkin::SetName(const std::string& name) {
  name_ = name;
  Changed(false);
}

void TsStoredSkin::ReadData(fw::TStream& stream) {
  const auto bytes = stream.ReadRemaining();
  packedData_.SetSize(0);
  packedData_.WriteBuffer(bytes);
  packedData_.SetPosition(0);
}

int TsStoredSkins::IndexOf(const std::string& name) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == name) return i;
  return -1;
}

void TsStoredSkins::Update(fw::TCollectionItem*) {
  if (OnChange) OnChange();
}

// ---- the component -----------------------------------------------------------------------------

const fw::TMetaClass& TsSkinManager::StaticClass() {
  static const fw::TMetaClass meta(
      "TsSkinManager", &fw::TComponent::StaticClass(), fw::FactoryFor<TsSkinManager>(),
      fw::Stored<TsSkinManager>([](auto& b) {
        b.Boolean("ExtendedBorders", &TsSkinManager::SetExtendedBorders);
        b.Boolean("SkinnedPopups", &TsSkinManager::SetSkinnedPopups);
        b.Boolean("IsDefault", &TsSkinManager::SetIsDefault);
        b.Set("SkinningRules", &TsSkinManager::SetSkinningRules, kRuleType);
        b.Integer("HueOffset", &TsSkinManager::SetHueOffset);
        b.Integer("Saturation", &TsSkinManager::SetSaturation);
        b.Collection("InternalSkins", &TsSkinManager::InternalSkins);
        b.String("SkinDirectory", &TsSkinManager::SetSkinDirectory);
        b.String("SkinName", &TsSkinManager::SetSkinName);
        b.Boolean("Active", &TsSkinManager::SetActive);
        b.Object("CommonSections", &TsSkinManager::CommonSections);
        b.Object("ThirdParty", &TsSkinManager::ThirdParty);
        b.Object("AnimEffects", &TsSkinManager::AnimEffects);
        b.Object("Effects", &TsSkinManager::Effects);
        b.Object("MenuSupport", &TsSkinManager::MenuSupport);
        b.String("SkinInfo", &TsSkinManager::SetSkinInfo);
        b.String("Version", &TsSkinManager::SetVersion);
        b.Event("OnActivate", &TsSkinManager::SetOnActivate);
        b.Event("OnAfterChange", &TsSkinManager::SetOnAfterChange);
        b.Event("OnBeforeChange", &TsSkinManager::SetOnBeforeChange);
        b.Event("OnDeactivate", &TsSkinManager::SetOnDeactivate);
        b.Event("OnSkinListChanged", &TsSkinManager::SetOnSkinListChanged);
        b.Event("OnSysDlgInit", &TsSkinManager::SetOnSysDlgInit);
      }));
  return meta;
}

TsSkinManager::TsSkinManager(fw::TComponent* owner) : fw::TComponent(owner) {
  internalSkins_.OnChange = [this] {
    if (OnSkinListChanged) OnSkinListChanged(this);
  };
  if (!gDefault) gDefault = this;
  thirdLists_.Parse(thirdParty_);
  skinDirectory_ = kDefaultSkinDirectory;
}

TsSkinManager::~TsSkinManager() {
  UnInstallHook();
  if (gDefault == this) {
    gDefault = nullptr;
    // Without a manager nothing restyles the older dialogs.
    fw::UseLatestCommonDialogs = true;
  }
}

bool TsSkinManager::IsDefault() const { return gDefault == this; }

void TsSkinManager::SetIsDefault(bool value) {
  if (value) {
    gDefault = this;
    ApplyDialogRule();
  } else if (gDefault == this) {
    gDefault = nullptr;
  }
}

// The older common dialogs are the ones the hook can skin: the default manager asks for them
// while it is active and skins standard dialogs.
void TsSkinManager::ApplyDialogRule() {
  if (IsDefault()) fw::UseLatestCommonDialogs = !(active_ && skinningRules_.Contains(srStdDialogs));
}

void TsSkinManager::Loaded() {
  fw::TComponent::Loaded();
  if (skinDirectory_.empty()) skinDirectory_ = kDefaultSkinDirectory;
  if (menuSupport_.IcoLineSkin().empty()) menuSupport_.SetIcoLineSkin("ICOLINE");
  thirdParty_.FillDefaults();
  thirdLists_.Parse(thirdParty_);
  if (active_ && !skinName_.empty()) AnnounceActivate();
  ApplyDialogRule();
  if (active_ && OnActivate) OnActivate(this);
}

void TsSkinManager::SetSkinName(const std::string& value) { ChangeSkin(value, true); }

void TsSkinManager::ChangeSkin(const std::string& value, bool repaint) {
  const std::string old = skinName_;
  skinName_ = value;
  if (!active_) {
    ApplyDialogRule();
    return;
  }
  const bool reading = ComponentState().Contains(fw::csLoading);
  if (OnBeforeChange) OnBeforeChange(this);
  {
    LoadingScope loading;
    index_.SkinData.Active = false;
    if (skinName_.size() > 4 && fw::LowerCase(skinName_.substr(skinName_.size() - 4)) == ".asz")
      skinName_.erase(skinName_.size() - 4);
    try {
      Reload();
    } catch (const std::exception& e) {
      skinName_ = old;
      ShowSkinMessage(e.what(), plat::MB_OK | plat::MB_ICONERROR);
    }
    if (active_) {
      if (!nonAutoUpdate_) Activate(repaint);
      if (OnActivate && !reading) OnActivate(this);
    } else {
      Deactivate();
      if (OnActivate) OnActivate(this);
    }
  }
  if (OnAfterChange) OnAfterChange(this);
  ApplyDialogRule();
}

void TsSkinManager::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  if (value) {
    SetSkinName(skinName_);
  } else if (skinName_.empty()) {
    // Nothing to remove, but an inactive manager never keeps the older dialogs.
    ApplyDialogRule();
  } else {
    if (!gLoading) Deactivate();
    RebuildConstantIndexes();
    ApplyDialogRule();
    if (OnDeactivate) OnDeactivate(this);
  }
}

void TsSkinManager::SetSkinDirectory(const std::string& value) {
  if (value == skinDirectory_) return;
  skinDirectory_ = value;
  if (active_ && !skinName_.empty() && !ComponentState().Contains(fw::csLoading)) SetSkinName(skinName_);
}

void TsSkinManager::SetExtendedBorders(bool value) {
  if (value == extendedBorders_) return;
  extendedBorders_ = value;
  if (active_ && index_.SkinData.Active && !ComponentState().Contains(fw::csLoading)) {
    Reload();
    CheckShadows();
    if (!gLoading && !ComponentState().Contains(fw::csDesigning)) RepaintForms(true);
  }
}

void TsSkinManager::SetSkinningRules(TacSkinningRules value) {
  skinningRules_ = value;
  ApplyDialogRule();
}

void TsSkinManager::SetHueOffset(int value) {
  if (value == hueOffset_) return;
  hueOffset_ = value;
  ApplyNewSkin();
}

void TsSkinManager::SetSaturation(int value) {
  if (value == saturation_) return;
  saturation_ = value;
  ApplyNewSkin();
}

// A recolouring: the skin is read again with the new values.
void TsSkinManager::ApplyNewSkin() {
  if (!active_ || gLoading || ComponentState().Contains(fw::csLoading) || skinName_.empty()) return;
  Reload();
  if (OnAfterChange) OnAfterChange(this);
  if (!nonAutoUpdate_) RepaintForms(true);
}

void TsSkinManager::ExtractInternalSkin(const std::string& nameOfSkin, const std::string& destDir) {
  ExtractByIndex(internalSkins_.IndexOf(nameOfSkin), destDir);
}

void TsSkinManager::ExtractByIndex(int index, const std::string& destDir) {
  TsStoredSkin* skin = index >= 0 && index < internalSkins_.Count() ? internalSkins_.Items(index) : nullptr;
  ExtractPackedSkin(skin ? &skin->PackedData() : nullptr, skin ? skin->Name() : std::string(),
                    destDir.empty() ? destDir : plat::files::HostPath(destDir));
}

bool TsSkinManager::ExtendedBordersInEffect() const {
  if (!extendedBorders_) return false;
  const plat::HMODULE user = plat::GetModuleHandle("user32.dll");
  return user && plat::GetProcAddress(user, "UpdateLayeredWindow");
}

std::string TsSkinManager::FullSkinDirectory() const {
  const std::string program = ProgramFolder();
  const std::string& dir = skinDirectory_;
  std::string full;
  if (dir.rfind("..", 0) == 0) {
    std::string parent = program.substr(0, program.size() - 1);
    const auto cut = parent.find_last_of("\\/");
    parent = cut == std::string::npos ? std::string() : parent.substr(0, cut + 1);
    full = parent + dir.substr(std::min<std::size_t>(3, dir.size()));
  } else if (dir.rfind(".\\", 0) == 0 || dir.rfind("./", 0) == 0) {
    full = program + dir.substr(2);
  } else if (dir.find(':') == std::string::npos && dir.find("\\\\") == std::string::npos) {
    full = program + dir;
  } else {
    full = dir;
  }
  return WithTrailingBackslash(full);
}

// An archive of the name in the skin directory, as stored, wins over a folder or built-in skin.
void TsSkinManager::Reload() {
  skinIsPacked_ = plat::files::FileExists(WithTrailingBackslash(skinDirectory_) + skinName_ + ".asz");
  if (skinIsPacked_) ReloadPackedSkin();
  else ReloadSkin();
}

TacLoadOptions TsSkinManager::LoadOptions() {
  TacLoadOptions options;
  options.HueOffset = hueOffset_;
  options.Saturation = saturation_;
  options.CommonSections = commonSections_.Text();
  options.VersionCheck = [this](double version) { CheckVersion(version); };
  return options;
}

void TsSkinManager::CheckVersion(double version) {
  if (version >= 7 && version > 8.99) {
    // The box itself is a standard dialog: not one to skin with a skin this manager may not know.
    const TacSkinningRules rules = skinningRules_;
    TacSkinningRules without = rules;
    without.Exclude(srStdDialogs);
    SetSkinningRules(without);
    ShowSkinMessage(kNewerSkinWarning, plat::MB_OK | plat::MB_ICONWARNING);
    SetSkinningRules(rules);
  } else if (version < 7 && !ComponentState().Contains(fw::csDesigning) && HasArgument("/actest")) {
    ShowSkinMessage("You are using an old version of the \"" + skinName_ +
                        "\" skin. Please, update a skins to latest or link with the Brivantis support for "
                        "upgrading of existing skin.\r\n\r\nThis notification occurs in design-time only for "
                        "your information and will not occur in real-time.",
                    plat::MB_OK);
  }
}

void TsSkinManager::ReloadSkin() {
  if (!active_) return;
  LoadingScope loading;
  const std::string folder = FullSkinDirectory() + skinName_ + "\\";
  index_.SkinData.SkinPath = folder;
  if (plat::files::FileExists(folder + "Options.dat")) {
    skinIsPacked_ = false;
    LoadSkinFolder(index_, plat::files::HostPath(folder), LoadOptions());
  } else {
    LoadBuiltIn();
  }
  CheckShadows();
}

void TsSkinManager::LoadBuiltIn() {
  index_.SkinData.SkinPath.clear();
  if (internalSkins_.Count() == 0) {
    active_ = false;
    return;
  }
  int i = internalSkins_.IndexOf(skinName_);
  if (i < 0) {
    i = 0;
    skinName_ = internalSkins_.Items(0)->Name();
  }
  fw::TMemoryStream& data = internalSkins_.Items(i)->PackedData();
  if (data.Size() == 0) return;
  data.SetPosition(0);
  skinIsPacked_ = true;
  LoadPackedSkin(index_, data, LoadOptions());
}

void TsSkinManager::ReloadPackedSkin() {
  if (!active_) return;
  LoadingScope loading;
  const std::string dir = WithTrailingBackslash(skinDirectory_);
  LoadPackedSkinFile(index_, plat::files::HostPath(dir + skinName_ + ".asz"), LoadOptions());
  index_.SkinData.SkinPath = FullSkinDirectory();
  CheckShadows();
}

void TsSkinManager::AnnounceActivate() {
  index_.SkinData.Active = false;
  gChanging = true;
  RebuildConstantIndexes();
  auto m = MakeSkinMessage(scNewSkin, reinterpret_cast<plat::LPARAM>(this));
  BroadcastToForms(m);
  gChanging = false;
  index_.SkinData.Active = true;
  if (IsDefault() && !hook_) InstallHook();
}

void TsSkinManager::Activate(bool repaint) {
  AnnounceActivate();
  if (repaint) RepaintForms(false);
}

void TsSkinManager::Deactivate() {
  skinRemoving_ = true;
  UnInstallHook();
  index_.SkinData.Active = false;
  auto m = MakeSkinMessage(scRemoveSkin, reinterpret_cast<plat::LPARAM>(this));
  BroadcastToForms(m);
  index_.ma.clear();
  index_.pa.clear();
  index_.gd.clear();
  skinRemoving_ = false;
}

void TsSkinManager::EndUpdate(bool repaint, bool allowAnimation) {
  nonAutoUpdate_ = false;
  const bool animation = allowChangeAnimation_;
  allowChangeAnimation_ = allowAnimation;
  if (active_ && !skinName_.empty()) ChangeSkin(skinName_, repaint);
  allowChangeAnimation_ = animation;
}

void TsSkinManager::UpdateSkinSection(const std::string& sectionName) {
  gChangedSection = fw::UpperCase(sectionName);
  auto m = MakeSkinMessage(scSectionChanged, 0);
  BroadcastToForms(m);
}

void TsSkinManager::SetActiveControl(plat::HWND window) {
  if (window == activeControl_) return;
  const plat::HWND previous = activeControl_;
  activeControl_ = window;
  if (previous && plat::IsWindow(previous))
    plat::SendMessage(previous, SkinCommandMessage, SkinParam(scMouseLeave), 0);
  if (window && plat::IsWindow(window)) plat::SendMessage(window, SkinCommandMessage, SkinParam(scMouseEnter), 0);
}

}  // namespace velmora
