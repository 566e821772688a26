#include "app/startup.h"

#include <filesystem>
#include <system_error>

#include "app/form_option.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "paint/platform_bindings.h"
#include "skin/sSkinManagerComponent.h"
#include "windows/sSkinProvider.h"

namespace velmora {

namespace {

// The windows go with the application; their names must not outlive them.
struct FormNames {
  ~FormNames() {
    MainForm = nullptr;
    FormOption = nullptr;
  }
};

}  // namespace

int StartUp(std::span<const std::string> arguments) {
  const FormNames names;
  SetProgramArguments({arguments.begin(), arguments.end()});
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) SetProgramFolder(self.parent_path().string());
  RegisterSkinClasses();
  RegisterProviderClasses();
  SkinManagerStartup();
  // The optional platform functions painting uses, looked up once by name.
  BindPlatformFunctions();
  fw::TApplication application(nullptr);
  try {
    fw::Application->Initialize();
    fw::Application->SetMainFormOnTaskBar(true);
    fw::Application->CreateForm(MainForm);
    fw::Application->CreateForm(FormOption);
    fw::Application->Run();
  } catch (...) {
    // Exceptions of other kinds are shown as the framework's own with an empty message.
    fw::Application->HandleException(fw::Application);
  }
  return 0;
}

}  // namespace velmora
