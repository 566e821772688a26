#include "app/form_option.h"

#include "app/app_pictures.h"
#include "framework/application.h"
#include "framework/stored_properties.h"
#include "platform/shell/shell.h"

// VELMORA_GUIDE_ADDRESS comes from the build (the cache variable of the same name).
namespace velmora {

TFormOption* FormOption = nullptr;

const char* GuideAddress() { return VELMORA_GUIDE_ADDRESS; }

const fw::TMetaClass& TFormOption::StaticClass() {
  static const fw::TMetaClass meta("TFormOption", &fw::TForm::StaticClass(), fw::FactoryFor<TFormOption>(),
                                   fw::Stored<TFormOption>([](auto& b) {
                                     b.Field("sLabel1", &TFormOption::sLabel1);
                                     b.Field("Image1", &TFormOption::Image1);
                                     b.Field("btnClose", &TFormOption::btnClose);
                                     b.Field("sPanel1", &TFormOption::sPanel1);
                                     b.Field("Timer1", &TFormOption::Timer1);
                                     b.Handler("FormShow", &TFormOption::FormShow);
                                     b.Handler("Timer1Timer", &TFormOption::Timer1Timer);
                                     b.Handler("FormKeyUp", &TFormOption::FormKeyUp);
                                     b.Handler("FormClose", &TFormOption::FormClose);
                                     b.Handler("sPanel1Click", &TFormOption::sPanel1Click);
                                   }));
  return meta;
}

void TFormOption::Loaded() {
  fw::TForm::Loaded();
  LoadPictureResource(kAboutResource, *Image1->Picture());
}

void TFormOption::FormShow(fw::TObject*) { Timer1->SetEnabled(true); }

void TFormOption::Timer1Timer(fw::TObject*) {
  if (!FormOption->Active()) {
    btnClose->Click();
    Timer1->SetEnabled(false);
  }
}

// Every released key closes the window, Enter or not.
void TFormOption::FormKeyUp(fw::TObject*, plat::WORD&, fw::TShiftState) {
  btnClose->Click();
  Timer1->SetEnabled(false);
}

void TFormOption::FormClose(fw::TObject*, fw::TCloseAction&) { Timer1->SetEnabled(false); }

void TFormOption::sPanel1Click(fw::TObject*) {
  plat::ShellExecute(fw::Application->Handle(), "open", GuideAddress(), nullptr, nullptr, plat::SW_SHOW);
}

}  // namespace velmora
