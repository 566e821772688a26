#pragma once
// The application runs the message loop, owns the forms it creates (the first becomes the main
// form, and closing that one ends Run) and shows exceptions that escape event handlers in its
// standard box. The screen lists the forms and knows the active one. One of each exists at a
// time, made after the platform is initialised; the globals point at them.
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "framework/forms.h"

namespace fw {

class TScreen;
class THintWindow;
class TTimer;

using TWindowHook = std::function<bool(TMessage&)>;
using TExceptionEvent = std::function<void(TObject*, const Exception&)>;

class TApplication : public TComponent {
  FW_DECLARE_CLASS

 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize() {}
  bool MainFormOnTaskBar() const { return mainFormOnTaskBar_; }
  void SetMainFormOnTaskBar(bool v) { mainFormOnTaskBar_ = v; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& t) { title_ = t; }
  // Hints: shown when the pointer has rested HintPause milliseconds over a control that shows
  // its hint, hidden when it leaves, on a press or after HintHidePause. Off hides them all.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  int HintPause() const { return hintPause_; }
  void SetHintPause(int ms) { hintPause_ = ms; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int ms) { hintHidePause_ = ms; }
  // The window that shows hints, nullptr before the first one.
  THintWindow* HintWindow() const { return hintWindow_.get(); }
  // Hides the hint shown and forgets the one waiting.
  void CancelHint();

  // Makes a form of class T owned by the application, points ref at it before it reads its
  // description, and makes the first one the main form.
  template <class T>
  void CreateForm(T*& ref) {
    auto form = std::make_unique<T>(this);
    ref = form.get();
    InsertComponent(std::move(form));
    ref->AfterConstruction();
    if (!mainForm_) {
      ref->HandleNeeded();
      mainForm_ = ref;
    }
  }
  TCustomForm* MainForm() const { return mainForm_; }
  // The hidden window that owns the forms when the main form does not.
  plat::HWND Handle();

  void Run();
  // Handles what is in the queue, without waiting.
  void ProcessMessages();
  // Handles one message, or waits for one when there is none.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }
  bool Active() const { return active_; }

  // Call from inside a catch: the exception goes to OnException or the standard box.
  void HandleException(TObject* sender);
  void ShowException(const Exception& e);
  TExceptionEvent OnException;

  // Hooks see the application window's messages first, the last hooked first; one that answers
  // true has handled the message. A hook is known by the object that set it.
  void HookMainWindow(const void* who, TWindowHook hook);
  void UnhookMainWindow(const void* who);

 private:
  friend class TCustomForm;
  bool ProcessMessage(plat::MSG& msg);
  void FormDestroyed(TCustomForm* form);
  void FreeReleased();
  static plat::LRESULT WindowProcedure(plat::HWND, plat::UINT, plat::WPARAM, plat::LPARAM);
  void PointerMoved(TControl* control, TPointerEvent event);
  void HintTimerExpired();
  bool ShowsHint(const TControl* control) const;
  void ActivateHint(TControl* control);

  std::unique_ptr<TScreen> screen_;
  TCustomForm* mainForm_ = nullptr;
  plat::HWND handle_ = nullptr;
  bool mainFormOnTaskBar_ = false;
  bool showMainForm_ = true;
  bool showHint_ = true;
  int hintPause_ = 500;
  int hintHidePause_ = 2500;
  std::unique_ptr<TTimer> hintTimer_;
  bool hintTimerHides_ = false;  // the running hint timer ends a shown hint
  std::unique_ptr<THintWindow> hintWindow_;
  bool terminated_ = false;
  bool active_ = false;
  std::string title_;
  std::vector<std::pair<const void*, TWindowHook>> hooks_;
  std::vector<TCustomForm*> released_;
};

class TScreen : public TComponent {
  FW_DECLARE_CLASS

 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const;
  TCustomForm* ActiveForm() const { return activeForm_; }
  plat::RECT WorkAreaRect() const;
  // The screen's resolution, in dots per inch.
  int PixelsPerInch() const;
  int Width() const;
  int Height() const;
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form) { activeForm_ = form; }

  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
  TCursor cursor_ = crDefault;
};

// Registers the framework's control classes for descriptions; the application does it too.
void RegisterControlClasses();

extern TApplication* Application;
extern TScreen* Screen;

}  // namespace fw
