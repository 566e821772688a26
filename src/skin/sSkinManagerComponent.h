#pragma once
// The skin manager component: owns the active skin, finds it (a folder with "Options.dat", a
// ".asz" archive in the skin directory, or a built-in skin), has it read into its index, tells
// every window of activation, removal and repaints, and hooks window activation so that forms
// can be given a skin provider. The first manager made is the default one.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/collection.h"
#include "framework/component.h"
#include "framework/forms.h"
#include "framework/streams.h"
#include "framework/strings.h"
#include "skin/sProviderHooks.h"
#include "skin/sSkinManager.h"
#include "skin/sSkinManagerSettings.h"
#include "skin/sThirdParty.h"

namespace velmora {

inline constexpr const char* kSkinEngineVersion = "8.41";
inline constexpr const char* kDefaultSkinDirectory = "c:\\Skins";

// One skin built into the program; only Name and PackedData take part in loading.
class TsStoredSkin : public fw::TCollectionItem {
  FW_DECLARE_CLASS

 public:
  using fw::TCollectionItem::TCollectionItem;
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  fw::TMemoryStream& PackedData() { return packedData_; }
  void ReadData(fw::TStream& stream);
  std::string DisplayName() const override { return name_; }

 private:
  std::string name_;
  fw::TMemoryStream packedData_;
};

class TsStoredSkins : public fw::TOwnedCollection<TsStoredSkin> {
 public:
  using fw::TOwnedCollection<TsStoredSkin>::TOwnedCollection;
  // The first item named exactly so, -1 without one.
  int IndexOf(const std::string& name) const;
  std::function<void()> OnChange;

 protected:
  void Update(fw::TCollectionItem* item) override;
};

enum TacSkinningRule { srStdForms, srStdDialogs, srThirdParty };
using TacSkinningRules = fw::TSet<TacSkinningRule>;
const fw::TEnumType& SkinningRuleType();

class TsSkinManager : public fw::TComponent {
  FW_DECLARE_CLASS

 public:
  explicit TsSkinManager(fw::TComponent* owner);
  ~TsSkinManager() override;

  bool Active() const { return active_; }
  void SetActive(bool value);
  const std::string& SkinName() const { return skinName_; }
  void SetSkinName(const std::string& value);
  const std::string& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::string& value);
  TsStoredSkins* InternalSkins() { return &internalSkins_; }
  bool ExtendedBorders() const { return extendedBorders_; }
  void SetExtendedBorders(bool value);
  bool SkinnedPopups() const { return skinnedPopups_; }
  void SetSkinnedPopups(bool value) { skinnedPopups_ = value; }
  bool IsDefault() const;
  void SetIsDefault(bool value);
  TacSkinningRules SkinningRules() const { return skinningRules_; }
  void SetSkinningRules(TacSkinningRules value);
  int HueOffset() const { return hueOffset_; }
  void SetHueOffset(int value);
  int Saturation() const { return saturation_; }
  void SetSaturation(int value);
  fw::TStringList* CommonSections() { return &commonSections_; }
  TacThirdPartyList* ThirdParty() { return &thirdParty_; }
  TacAnimEffects* AnimEffects() { return &animEffects_; }
  TacSkinEffects* Effects() { return &effects_; }
  TacMenuSupport* MenuSupport() { return &menuSupport_; }
  const TacThirdLists& ThirdLists() const { return thirdLists_; }
  // Informative only: a description may hold them, nothing reads them back.
  void SetSkinInfo(const std::string&) {}
  void SetVersion(const std::string&) {}
  std::string Version() const { return kSkinEngineVersion; }

  TacSkinIndex& Index() { return index_; }
  TsSkinData& SkinData() { return index_.SkinData; }
  bool SkinIsPacked() const { return skinIsPacked_; }
  bool NonAutoUpdate() const { return nonAutoUpdate_; }
  bool SkinRemoving() const { return skinRemoving_; }
  bool GlobalHookInstalled() const { return hook_ != nullptr; }

  void ReloadSkin();
  void ReloadPackedSkin();
  // The shadow templates of the extended border (active, inactive) and its margins.
  void CheckShadows();
  bool ExtendedBordersInEffect() const;
  const plat::RECT& FormShadowSize() const { return formShadowSize_; }
  const fw::TBitmap& ShdaTemplate() const { return shdaTemplate_; }
  const fw::TBitmap& ShdiTemplate() const { return shdiTemplate_; }
  // Freezing and unfreezing the skinned forms of this manager around the refresh when
  // lockForms; the provider-side steps come from RepaintHooks().
  void RepaintForms(bool lockForms = true);
  void BeginUpdate() { nonAutoUpdate_ = true; }
  void EndUpdate(bool repaint = true, bool allowAnimation = false);
  void UpdateSkinSection(const std::string& sectionName);
  // Writes a built-in skin's archive to "<DestDir>\<name> extracted.asz"; an unknown name or
  // index fails with the archive code's message.
  void ExtractInternalSkin(const std::string& nameOfSkin, const std::string& destDir);
  void ExtractByIndex(int index, const std::string& destDir);
  // The skin directory against the program's folder, with a trailing backslash.
  std::string FullSkinDirectory() const;

  int GetSkinIndex(std::string_view section) const { return index_.GetSkinIndex(section); }
  int GetMaskIndex(int skinIndex, std::string_view section, std::string_view mask) const {
    return index_.GetMaskIndex(skinIndex, section, mask);
  }
  int GetTextureIndex(int skinIndex, std::string_view section, std::string_view property) const {
    return index_.GetTextureIndex(skinIndex, section, property);
  }
  int GetPatternIndex(int skinIndex, std::string_view section, std::string_view pattern) const {
    return index_.GetPatternIndex(skinIndex, section, pattern);
  }

  fw::TNotifyEvent OnActivate;
  fw::TNotifyEvent OnAfterChange;
  fw::TNotifyEvent OnBeforeChange;
  fw::TNotifyEvent OnDeactivate;
  fw::TNotifyEvent OnSkinListChanged;
  void SetOnActivate(fw::TNotifyEvent e) { OnActivate = std::move(e); }
  void SetOnAfterChange(fw::TNotifyEvent e) { OnAfterChange = std::move(e); }
  void SetOnBeforeChange(fw::TNotifyEvent e) { OnBeforeChange = std::move(e); }
  void SetOnDeactivate(fw::TNotifyEvent e) { OnDeactivate = std::move(e); }
  void SetOnSkinListChanged(fw::TNotifyEvent e) { OnSkinListChanged = std::move(e); }
  // A dialog window the hook is about to skin; clearing allowSkinning refuses it.
  using TacSysDlgInit = std::function<void(fw::TObject* sender, plat::HWND dialog, bool& allowSkinning)>;
  TacSysDlgInit OnSysDlgInit;
  void SetOnSysDlgInit(TacSysDlgInit e) { OnSysDlgInit = std::move(e); }

  // The windows the hook gave a provider, in the order it did.
  std::vector<plat::HWND> HookedWindows() const;

  // The window under the mouse, kept for hot-tracking: a change tells the window left
  // scMouseLeave and the new one scMouseEnter.
  plat::HWND ActiveControl() const { return activeControl_; }
  void SetActiveControl(plat::HWND window);

 protected:
  void Loaded() override;
  // Where the hook's providers come from: HookProviderFactory() unless a subclass knows better.
  virtual std::unique_ptr<TacHookProvider> CreateHookProvider(const THookRequest& request);

 private:
  friend struct TSkinManagerHook;
  void Activate(bool repaint);
  void Deactivate();
  void AnnounceActivate();
  void CheckVersion(double version);
  TacLoadOptions LoadOptions();
  void LoadBuiltIn();
  void InstallHook();
  void UnInstallHook();
  void HandleActivation(plat::HWND window);
  void HandleCreation(plat::HWND window, const plat::CBT_CREATEWND& create);
  void HandleDialog(plat::HWND window);
  void Provide(THookTarget target, plat::HWND window, fw::TCustomForm* form);
  bool Hooked(plat::HWND window) const;
  void ApplyDialogRule();
  void RebuildConstantIndexes();
  // Forms with the windows they had when frozen.
  using TFrozenForms = std::vector<std::pair<fw::TCustomForm*, plat::HWND>>;
  TFrozenForms FreezeForms();
  void UnfreezeForms(const TFrozenForms& frozen);
  void ApplyNewSkin();
  void ChangeSkin(const std::string& value, bool repaint);
  void Reload();
  void ForgetWindow(plat::HWND window);

  bool active_ = true;
  std::string skinName_;
  std::string skinDirectory_;
  TsStoredSkins internalSkins_{this};
  bool extendedBorders_ = false;
  bool skinnedPopups_ = true;
  TacSkinningRules skinningRules_{srStdForms, srStdDialogs, srThirdParty};
  int hueOffset_ = 0;
  int saturation_ = 0;
  fw::TStringList commonSections_;
  TacThirdPartyList thirdParty_;
  TacAnimEffects animEffects_;
  TacSkinEffects effects_;
  TacMenuSupport menuSupport_;
  TacThirdLists thirdLists_;

  TacSkinIndex index_;
  bool skinIsPacked_ = false;
  plat::RECT formShadowSize_{0, 0, 0, 0};
  bool nonAutoUpdate_ = false;
  bool skinRemoving_ = false;
  // Read by the skin-change animation once it exists.
  bool allowChangeAnimation_ = true;
  fw::TBitmap shdaTemplate_;
  fw::TBitmap shdiTemplate_;
  plat::HHOOK hook_ = nullptr;
  plat::HWND activeControl_ = nullptr;
  struct THooked {
    plat::HWND Window;
    fw::TCustomForm* Form;  // null for a dialog or a menu
    std::unique_ptr<TacHookProvider> Provider;
  };
  std::vector<THooked> hooked_;
};

// The manager that controls use unless told otherwise: the first one made.
TsSkinManager* DefaultManager();
// Set for the duration of every load; painting code skips work while it is.
bool SkinLoading();
// Set while a new skin is announced.
bool SkinChanging();
// The upper-cased name of the section UpdateSkinSection changed last.
const std::string& ChangedSectionName();

// How the manager shows its messages; a plain message box by default.
using TSkinMessageHandler = std::function<void(const std::string& text, plat::UINT type)>;
void SetSkinMessageHandler(TSkinMessageHandler handler);
void ShowSkinMessage(const std::string& text, plat::UINT type);
// The program's command-line arguments (without its name) and folder, for "/acver", "/actest"
// and relative skin directories.
void SetProgramArguments(std::vector<std::string> args);
const std::vector<std::string>& ProgramArguments();
void SetProgramFolder(std::string folder);
std::string ProgramFolder();
// Makes the manager known to form descriptions.
void RegisterSkinClasses();
// Once per process before any form: reads the built-in shadow templates from the resources
// "ACSHDA" and "ACSHDI"; "/acver" shows the engine's version.
void SkinManagerStartup();
// The program's own shadow templates, 32-bit with alpha, as read at start-up (empty before,
// or when the program carries none).
const fw::TBitmap& BuiltInShadowTemplate(bool active);
void LoadBuiltInShadowTemplates();

}  // namespace velmora
