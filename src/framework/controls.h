#pragma once
// Controls: components with bounds on a parent, visibility, colour, font and cursor, driven by
// messages. Every message goes through WindowProc, which starts as the virtual WndProc; a
// skinning adapter replaces it, keeps the one it replaced and passes messages on.
// TGraphicControl has no window of its own: its parent paints it and hands it mouse messages.
#include <memory>
#include <string>
#include <vector>

#include "framework/canvas.h"
#include "framework/component.h"
#include "framework/control_messages.h"
#include "framework/font_brush_pen.h"
#include "framework/sets.h"
#include "platform/wm/wm.h"

namespace fw {

class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
const TEnumType& AlignType();

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
const TEnumType& AlignmentType();
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
const TEnumType& VerticalAlignmentType();

enum TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
  csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground,
  csPannable, csAlignWithMargins, csGestures, csPaintBlackOpaqueOnGlass, csOverrideStylePaint,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide, csPanning, csRecreating,
  csAligning, csGlassPaint, csPrintClient,
};
using TControlState = TSet<TControlStateItem>;

// Mouse pointer shapes by the framework's numbers.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
const TEnumType& CursorIdents();
// The platform's shape for a cursor number (the arrow for unknown ones).
plat::HCURSOR CursorHandle(TCursor cursor);

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
TShiftState KeysToShiftState(plat::WPARAM keys);
TShiftState KeyboardState();

using TMouseEvent = std::function<void(TObject*, TMouseButton, TShiftState, int, int)>;
using TMouseMoveEvent = std::function<void(TObject*, TShiftState, int, int)>;
using TKeyEvent = std::function<void(TObject*, plat::WORD&, TShiftState)>;
using TKeyPressEvent = std::function<void(TObject*, char&)>;

class TControl : public TComponent {
  FW_DECLARE_CLASS

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // The chain in front of WndProc; Perform sends through it.
  TWndMethod WindowProc;
  plat::LRESULT Perform(plat::UINT msg, plat::WPARAM wp = 0, plat::LPARAM lp = 0);
  virtual void WndProc(TMessage& message);
  // Messages nobody handled; a windowed control hands them to its platform procedure.
  virtual void DefaultHandler(TMessage& message);

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  // Scales the control by multiplier / divisor: its place and size, its own font, its children.
  void ScaleBy(int multiplier, int divisor) { ChangeScale(multiplier, divisor); }
  plat::RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  void SetBoundsRect(const plat::RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
  virtual plat::RECT ClientRect() const;
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  plat::POINT ClientOrigin() const;
  plat::POINT ClientToScreen(plat::POINT p) const;
  plat::POINT ScreenToClient(plat::POINT p) const;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent up to a window with a handle that is shown.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TFont* Font() const { return font_.get(); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  const std::string& Caption() const { return GetText(); }
  void SetCaption(const std::string& text) { SetText(text); }
  const std::string& Text() const { return GetText(); }
  void SetText(const std::string& text);
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  // Whether the hint is shown; with ParentShowHint (the default) the parent's setting.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);

  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle style) { controlStyle_ = style; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState state) { controlState_ = state; }

  virtual void Invalidate();
  // Paints now what is invalid.
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  virtual void Click();

  bool MouseInClient() const { return mouseInClient_; }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  void SetOnClick(TNotifyEvent e) { OnClick = std::move(e); }
  void SetOnDblClick(TNotifyEvent e) { OnDblClick = std::move(e); }
  void SetOnMouseDown(TMouseEvent e) { OnMouseDown = std::move(e); }
  void SetOnMouseUp(TMouseEvent e) { OnMouseUp = std::move(e); }
  void SetOnMouseMove(TMouseMoveEvent e) { OnMouseMove = std::move(e); }
  void SetOnMouseEnter(TNotifyEvent e) { OnMouseEnter = std::move(e); }
  void SetOnMouseLeave(TNotifyEvent e) { OnMouseLeave = std::move(e); }

 protected:
  virtual void ChangeScale(int multiplier, int divisor);
  virtual const std::string& GetText() const { return text_; }
  virtual void TextChanged() {}
  // The font or colour that a parent's change hands down, without clearing ParentFont.
  void TakeParentFont();
  void TakeParentColor();
  void TakeParentShowHint();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Resize() {}
  // A graphic control's bounds change or show state in its parent's picture.
  void InvalidateControl(bool wasVisible, bool opaque);
  void RequestAlign();
  void Loaded() override;

  std::string text_;

 private:
  friend class TWinControl;
  void FontChanged();
  void HandleMouse(TMessage& m);

  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  TWinControl* parent_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  TAlign align_ = alNone;
  TColor color_ = clWindow;
  bool parentColor_ = false;
  std::unique_ptr<TFont> font_;
  bool parentFont_ = true;
  bool takingParentFont_ = false;
  TCursor cursor_ = crDefault;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TControlStyle controlStyle_{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState controlState_;
  bool mouseInClient_ = false;
};

// Tells the control under the pointer that it arrived and the previous one that it left; the
// pointer moves between windowed and graphic controls alike.
void SetMouseControl(TControl* control);
TControl* MouseControl();

// The application's hints follow the pointer: it is told when the pointer arrives over a
// control (nullptr: over none of ours, or the control went) and when a button goes down on one.
enum class TPointerEvent { Entered, Pressed };
using TPointerObserver = std::function<void(TControl*, TPointerEvent)>;
void SetPointerObserver(TPointerObserver observer);

// Where an exception that escapes a message handler goes, called inside the catch (the
// application shows it in its box); without a handler it propagates.
using TExceptionHandler = std::function<void(TObject* sender)>;
void SetExceptionHandler(TExceptionHandler handler);
void HandleMessageException(TObject* sender);

// The form a control sits on, nullptr without one.
TCustomForm* GetParentForm(const TControl* control);

// A control painted by its parent, on the parent's context moved to its own origin.
class TGraphicControl : public TControl {
  FW_DECLARE_CLASS

 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  TCanvas& Canvas() { return *canvas_; }
  void WndProc(TMessage& message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace fw
