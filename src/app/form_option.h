#pragma once
// The about window: the program's name and version, its picture, an author line that opens the
// program's guide, and a close button. Shown modally from the brightness window; it closes with
// the result of its close button (1) when a key is released or when it stops being active.
#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "framework/std_controls.h"
#include "framework/timer.h"

namespace velmora {

class TFormOption : public fw::TForm {
  FW_DECLARE_CLASS

 public:
  using fw::TForm::TForm;

  fw::TLabel* sLabel1 = nullptr;
  fw::TImage* Image1 = nullptr;
  fw::TButton* btnClose = nullptr;
  fw::TPanel* sPanel1 = nullptr;
  fw::TTimer* Timer1 = nullptr;

  void FormShow(fw::TObject* sender);
  void Timer1Timer(fw::TObject* sender);
  void FormKeyUp(fw::TObject* sender, plat::WORD& key, fw::TShiftState shift);
  void FormClose(fw::TObject* sender, fw::TCloseAction& action);
  void sPanel1Click(fw::TObject* sender);

 protected:
  void Loaded() override;
};

extern TFormOption* FormOption;

// The address the author panel opens: the guide installed with the program.
const char* GuideAddress();

}  // namespace velmora
