#include "paint/platform_bindings.h"

#include "platform/gdi/modules.h"

namespace velmora {

namespace {

struct Bindings {
  bool bound = false;
  plat::HMODULE gradientLibrary = nullptr;
  plat::HMODULE windowLibrary = nullptr;
  plat::GradientFillProc gradientFill = nullptr;
  plat::UpdateLayeredWindowProc updateLayeredWindow = nullptr;
  plat::SetLayeredWindowAttributesProc setLayeredWindowAttributes = nullptr;
};

Bindings& Current() {
  static Bindings bindings;
  return bindings;
}

template <class Proc>
Proc Find(plat::HMODULE library, const char* name) {
  return library ? reinterpret_cast<Proc>(plat::GetProcAddress(library, name)) : nullptr;
}

const Bindings& Bound() {
  if (!Current().bound) BindPlatformFunctions();
  return Current();
}

}  // namespace

void BindPlatformFunctions() {
  ReleasePlatformFunctions();
  Bindings& b = Current();
  b.gradientLibrary = plat::LoadLibrary("msimg32.dll");
  b.windowLibrary = plat::LoadLibrary("user32.dll");
  b.gradientFill = Find<plat::GradientFillProc>(b.gradientLibrary, "GradientFill");
  b.updateLayeredWindow = Find<plat::UpdateLayeredWindowProc>(b.windowLibrary, "UpdateLayeredWindow");
  b.setLayeredWindowAttributes = Find<plat::SetLayeredWindowAttributesProc>(b.windowLibrary, "SetLayeredWindowAttributes");
  b.bound = true;
}

void ReleasePlatformFunctions() {
  Bindings& b = Current();
  if (b.gradientLibrary) plat::FreeLibrary(b.gradientLibrary);
  if (b.windowLibrary) plat::FreeLibrary(b.windowLibrary);
  b = Bindings{};
}

plat::GradientFillProc GradientFillFunction() { return Bound().gradientFill; }
bool LayeredApiAvailable() { return Bound().updateLayeredWindow != nullptr; }
plat::UpdateLayeredWindowProc UpdateLayeredWindowFunction() { return Bound().updateLayeredWindow; }
plat::SetLayeredWindowAttributesProc SetLayeredWindowAttributesFunction() { return Bound().setLayeredWindowAttributes; }

}  // namespace velmora
