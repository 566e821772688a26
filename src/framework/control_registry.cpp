// The control classes a stored description may name.
#include "framework/application.h"
#include "framework/ext_controls.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/timer.h"

namespace fw {

void RegisterControlClasses() {
  RegisterClasses({&TControl::StaticClass(), &TWinControl::StaticClass(), &TGraphicControl::StaticClass(),
                   &TCustomControl::StaticClass(), &TForm::StaticClass(), &TButton::StaticClass(),
                   &TLabel::StaticClass(), &TSpeedButton::StaticClass(), &TPanel::StaticClass(),
                   &TImage::StaticClass(), &TStatusBar::StaticClass(), &TStatusPanel::StaticClass(),
                   &TTimer::StaticClass()});
}

}  // namespace fw
