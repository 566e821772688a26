#pragma once
// The push button over the platform's "Button" class, and the label, a graphic control that
// draws its caption through one overridable step.
#include "framework/forms.h"
#include "framework/win_control.h"

namespace fw {

class TButton : public TWinControl {
  FW_DECLARE_CLASS

 public:
  explicit TButton(TComponent* owner);

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult r) { modalResult_ = r; }
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  // Sets the form's modal result to the button's, then runs OnClick.
  void Click() override;
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TModalResult modalResult_ = mrNone;
  bool default_ = false;
  bool cancel_ = false;
  bool wordWrap_ = false;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };
const TEnumType& TextLayoutType();

// DrawText flags of a horizontal alignment.
plat::UINT AlignmentFlags(TAlignment alignment);

class TLabel : public TGraphicControl {
  FW_DECLARE_CLASS

 public:
  explicit TLabel(TComponent* owner);

  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout l);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v);
  void WndProc(TMessage& m) override;

 protected:
  void Paint() override;
  // Draws (or with DT_CALCRECT measures) the caption in rect on the canvas.
  virtual void DoDrawText(plat::RECT& rect, plat::UINT flags);
  void Loaded() override;
  void AdjustBounds();

 private:
  bool transparent_ = false;
  bool autoSize_ = true;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
};

}  // namespace fw
