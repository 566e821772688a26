#pragma once
// Forms: top-level windowed controls with a border style, a place on the screen, key preview,
// modal showing with a result, and the events of their life. A form of a class of its own
// (TMainForm) reads its stored description, embedded under the class's name, in
// AfterConstruction; TApplication::CreateForm and NewForm call it once the object is whole.
#include "framework/win_control.h"

namespace fw {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
const TEnumType& FormBorderStyleType();
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
const TEnumType& BorderIconType();
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
  poOwnerFormCenter,
};
const TEnumType& PositionType();
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
const TEnumType& FormStyleType();
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrClose = 8;
const TEnumType& ModalResultIdents();

using TCloseEvent = std::function<void(TObject*, TCloseAction&)>;
using TCloseQueryEvent = std::function<void(TObject*, bool&)>;

class TCustomForm : public TWinControl {
  FW_DECLARE_CLASS

 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the description of a form class of its own, then runs OnCreate.
  virtual void AfterConstruction();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons icons);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle style);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v);
  int AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(int v);
  // The resolution the stored sizes were made for; a Scaled form read from a description is
  // scaled from it to the screen's.
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int ppi) { pixelsPerInch_ = ppi; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  void SetTextHeight(int) {}
  void SetOldCreateOrder(bool) {}

  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;
  plat::RECT ClientRect() const override;

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult r) { modalResult_ = r; }
  TFormState FormState() const { return formState_; }
  bool Active() const { return active_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  TCanvas& Canvas() { return *canvas_; }

  void Show();
  void Close();
  bool CloseQuery();
  TModalResult ShowModal();
  void Release();

  bool KeyPreviewEnabled() const override { return keyPreview_; }
  void WndProc(TMessage& m) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnPaint;
  void SetOnCreate(TNotifyEvent e) { OnCreate = std::move(e); }
  void SetOnDestroy(TNotifyEvent e) { OnDestroy = std::move(e); }
  void SetOnShow(TNotifyEvent e) { OnShow = std::move(e); }
  void SetOnHide(TNotifyEvent e) { OnHide = std::move(e); }
  void SetOnActivate(TNotifyEvent e) { OnActivate = std::move(e); }
  void SetOnDeactivate(TNotifyEvent e) { OnDeactivate = std::move(e); }
  void SetOnClose(TCloseEvent e) { OnClose = std::move(e); }
  void SetOnCloseQuery(TCloseQueryEvent e) { OnCloseQuery = std::move(e); }
  void SetOnPaint(TNotifyEvent e) { OnPaint = std::move(e); }

 protected:
  void ChangeScale(int multiplier, int divisor) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void PaintWindow(plat::HDC dc) override;
  void Loaded() override;
  virtual void DoShow();
  virtual void DoClose(TCloseAction& action);

 private:
  void ShowingChanged(bool showing);
  void PlaceOnScreen();
  plat::RECT FrameInsets() const;
  void Activated(bool active);

  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDefaultPosOnly;
  TFormStyle formStyle_ = fsNormal;
  bool keyPreview_ = false;
  bool alphaBlend_ = false;
  int alphaBlendValue_ = 255;
  int pixelsPerInch_ = 0;
  bool scaled_ = true;
  int pendingClientWidth_ = -1;
  int pendingClientHeight_ = -1;
  TModalResult modalResult_ = mrNone;
  TFormState formState_;
  bool active_ = false;
  TWinControl* activeControl_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

class TForm : public TCustomForm {
  FW_DECLARE_CLASS

 public:
  using TCustomForm::TCustomForm;
};

// Makes a form that owner owns and runs its AfterConstruction.
template <class T>
T* NewForm(TComponent* owner) {
  T* form = New<T>(owner);
  form->AfterConstruction();
  return form;
}

}  // namespace fw
