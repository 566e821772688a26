#include "app/main_form.h"

#include "app/app_pictures.h"
#include "app/brightness.h"
#include "app/form_option.h"
#include "framework/application.h"
#include "framework/stored_properties.h"

namespace velmora {

TMainForm* MainForm = nullptr;

const fw::TMetaClass& TMainForm::StaticClass() {
  static const fw::TMetaClass meta("TMainForm", &fw::TForm::StaticClass(), fw::FactoryFor<TMainForm>(),
                                   fw::Stored<TMainForm>([](auto& b) {
                                     b.Field("Label1", &TMainForm::Label1);
                                     b.Field("SpeedButton1", &TMainForm::SpeedButton1);
                                     b.Field("Button1", &TMainForm::Button1);
                                     b.Field("Button2", &TMainForm::Button2);
                                     b.Field("Button3", &TMainForm::Button3);
                                     b.Field("Button4", &TMainForm::Button4);
                                     b.Field("Button5", &TMainForm::Button5);
                                     b.Field("sStatusBar1", &TMainForm::sStatusBar1);
                                     b.Field("Timer1", &TMainForm::Timer1);
                                     b.Field("sSkinManager1", &TMainForm::sSkinManager1);
                                     b.Field("sSkinProvider1", &TMainForm::sSkinProvider1);
                                     b.Handler("FormShow", &TMainForm::FormShow);
                                     b.Handler("Button1Click", &TMainForm::Button1Click);
                                     b.Handler("Button2Click", &TMainForm::Button2Click);
                                     b.Handler("Button3Click", &TMainForm::Button3Click);
                                     b.Handler("Button4Click", &TMainForm::Button4Click);
                                     b.Handler("Button5Click", &TMainForm::Button5Click);
                                     b.Handler("SpeedButton1Click", &TMainForm::SpeedButton1Click);
                                     b.Handler("Timer1Timer", &TMainForm::Timer1Timer);
                                   }));
  return meta;
}

void TMainForm::Loaded() {
  fw::TForm::Loaded();
  LoadBitmapResource(kGearResource, *SpeedButton1->Glyph());
}

void TMainForm::AfterConstruction() {
  fw::TForm::AfterConstruction();
  ActivateSkin();
}

// The skin the program carries becomes built-in item 0, named "skin"; a skin of that name in
// the skin directory is found first. A missing resource ends construction with its error.
void TMainForm::ActivateSkin() {
  fw::TResourceStream stream(fw::HInstance, "Resource1", "VCLSTYLE");
  TsStoredSkins* skins = sSkinManager1->InternalSkins();
  skins->Add();
  skins->Items(0)->SetName("skin");
  skins->Items(0)->ReadData(stream);
  sSkinManager1->SetSkinName("skin");
  sSkinManager1->SetActive(true);
}

void TMainForm::FormShow(fw::TObject*) {
  SetCaption(ReadBrightnessCaption());
}

void TMainForm::ChooseLevel(int level) {
  SetBrightness(level);
  Close();
}

void TMainForm::Button1Click(fw::TObject*) { ChooseLevel(0); }
void TMainForm::Button2Click(fw::TObject*) { ChooseLevel(25); }
void TMainForm::Button3Click(fw::TObject*) { ChooseLevel(50); }
void TMainForm::Button4Click(fw::TObject*) { ChooseLevel(75); }
void TMainForm::Button5Click(fw::TObject*) { ChooseLevel(100); }

void TMainForm::SpeedButton1Click(fw::TObject*) {
  Timer1->SetEnabled(false);
  // Closed from its title bar the about window answers 2, and the window then stays open
  // until it is closed or a level is chosen.
  if (FormOption->ShowModal() == fw::mrOk) Timer1->SetEnabled(true);
}

// Closes once the user works elsewhere. While a box of this program is in front (the display
// that was not found), the window is inactive but the program is not: the box is left to be
// read and answered.
void TMainForm::Timer1Timer(fw::TObject*) {
  if (!MainForm->Active() && !fw::Application->Active()) Close();
}

}  // namespace velmora
