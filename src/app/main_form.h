#pragma once
// The brightness window: the current brightness in its caption, five level buttons that write
// a level and end the program, a gear button that opens the about window. It closes itself,
// which ends the program, as soon as it is no longer the active window.
#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSkinProvider.h"

namespace velmora {

class TMainForm : public fw::TForm {
  FW_DECLARE_CLASS

 public:
  using fw::TForm::TForm;

  fw::TLabel* Label1 = nullptr;
  fw::TSpeedButton* SpeedButton1 = nullptr;
  fw::TButton* Button1 = nullptr;
  fw::TButton* Button2 = nullptr;
  fw::TButton* Button3 = nullptr;
  fw::TButton* Button4 = nullptr;
  fw::TButton* Button5 = nullptr;
  fw::TStatusBar* sStatusBar1 = nullptr;
  fw::TTimer* Timer1 = nullptr;
  TsSkinManager* sSkinManager1 = nullptr;
  TsSkinProvider* sSkinProvider1 = nullptr;

  // Reads the description, then activates the skin the program carries.
  void AfterConstruction() override;

  void FormShow(fw::TObject* sender);
  void Button1Click(fw::TObject* sender);
  void Button2Click(fw::TObject* sender);
  void Button3Click(fw::TObject* sender);
  void Button4Click(fw::TObject* sender);
  void Button5Click(fw::TObject* sender);
  void SpeedButton1Click(fw::TObject* sender);
  void Timer1Timer(fw::TObject* sender);

 protected:
  void Loaded() override;

 private:
  void ChooseLevel(int level);
  void ActivateSkin();
};

extern TMainForm* MainForm;

}  // namespace velmora
