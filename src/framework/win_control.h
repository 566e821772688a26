#pragma once
// Windowed controls: a platform window made on demand, in a class named after the control's
// class ("TButton", "TMainForm") that is made from the platform class it builds on, with the
// procedure replaced by the bridge to WindowProc and the original one called by default.
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "platform/wm/wm.h"

namespace fw {

struct TCreateParams {
  std::string Caption;
  plat::DWORD Style = 0;
  plat::DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  plat::HWND WndParent = nullptr;
  // The platform class the control's class is made from; empty for the framework's own base.
  std::string BaseClassName;
  plat::UINT ClassStyle = plat::CS_DBLCLKS;
  std::string WinClassName;
};

class TWinControl : public TControl {
  FW_DECLARE_CLASS

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  plat::HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { (void)Handle(); }
  void RecreateWnd();
  // The control of a window made by the framework, nullptr for others.
  static TWinControl* FindControl(plat::HWND window);

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  bool ContainsControl(const TControl* control) const;
  // The enabled, visible child control at a client point (graphic ones only unless allowWin).
  TControl* ControlAtPos(plat::POINT p, bool allowDisabled = false, bool allowWin = false) const;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  // The windowed children in tab order.
  std::vector<TWinControl*> TabList() const;
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
  void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();

  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  bool ParentBackground() const { return ControlStyle().Contains(csParentBackground); }
  void SetParentBackground(bool v);
  TBrush& Brush() { return *brush_; }

  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;

  void SetBounds(int left, int top, int width, int height) override;
  plat::RECT ClientRect() const override;
  bool Showing() const override;
  void SetParent(TWinControl* parent) override;
  // True for a form that sees its controls' keys first.
  virtual bool KeyPreviewEnabled() const { return false; }
  void Invalidate() override;
  void Update() override;
  void Repaint() override;

  // Draws the control and its children into a context at (x, y), as if it were on screen.
  void PaintTo(plat::HDC dc, int x, int y);
  // Paints the visible graphic children over dc, first onwards (nullptr: all), in list order.
  void PaintControls(plat::HDC dc, TControl* first);
  // Lays out the aligned children in the client area.
  void Realign();

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  void SetOnKeyDown(TKeyEvent e) { OnKeyDown = std::move(e); }
  void SetOnKeyUp(TKeyEvent e) { OnKeyUp = std::move(e); }
  void SetOnEnter(TNotifyEvent e) { OnEnter = std::move(e); }
  void SetOnExit(TNotifyEvent e) { OnExit = std::move(e); }

 protected:
  void ChangeScale(int multiplier, int divisor) override;
  void ScaleControls(int multiplier, int divisor);
  virtual void CreateParams(TCreateParams& params);
  void CreateSubClass(TCreateParams& params, const char* platformClass);
  virtual void CreateHandle();
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Runs once the window exists, before it is shown.
  virtual void CreateWindowHandle(const TCreateParams& params);
  // Paints the client, by default nothing (a plain window's background is the brush).
  virtual void PaintWindow(plat::HDC dc) { (void)dc; }
  // The whole paint step over dc: background (when asked), PaintWindow, graphic children.
  void PaintHandler(plat::HDC dc);
  virtual void AlignControls(TControl* control, plat::RECT& rect);
  virtual void AdjustClientRect(plat::RECT& rect) const;
  // Keys, the form's key preview first; true when handled (the key was cleared).
  bool DoKeyDown(TMessage& m);
  bool DoKeyUp(TMessage& m);
  virtual void KeyDown(plat::WORD& key, TShiftState shift);
  virtual void KeyUp(plat::WORD& key, TShiftState shift);
  virtual void UpdateShowing();
  void Loaded() override;

 private:
  friend class TControl;
  friend struct TWindowBridge;
  void MainWndProc(TMessage& m);
  void HandleMouseForChildren(TMessage& m, bool& handled);
  void WmPaint(TMessage& m);
  void EraseBackground(plat::HDC dc);
  bool ReflectToChild(TMessage& m, plat::HWND child);
  void UpdateBounds();
  void DetachHandle();

  plat::HWND handle_ = nullptr;
  plat::WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;      // graphic and windowed children, in paint order
  std::vector<TWinControl*> tabOrder_;  // windowed children in tab order
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  int borderWidth_ = 0;
  bool realigning_ = false;
  TControl* captureControl_ = nullptr;
  std::unique_ptr<TBrush> brush_;
};

// A windowed control that paints itself on its own canvas.
class TCustomControl : public TWinControl {
  FW_DECLARE_CLASS

 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas& Canvas() { return *canvas_; }

 protected:
  virtual void Paint() {}
  void PaintWindow(plat::HDC dc) override;

 private:
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace fw
