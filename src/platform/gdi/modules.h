#pragma once
// Optional platform functions found by name, as a program looks them up in a library at run
// time. A library or function that the platform lacks answers nullptr, so "missing" is a real
// state. Library and function lookups ignore case in library names, as the platform does.
#include <string>

#include "platform/base/types.h"

namespace plat {

using HMODULE = struct HMODULE__*;
using FARPROC = void (*)();

// Known libraries: "msimg32.dll" (GradientFill), "user32.dll" (what the window manager
// registers), "dwmapi.dll" (absent: composition reads as off).
HMODULE GetModuleHandle(const char* name);
HMODULE LoadLibrary(const char* name);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, const char* name);

// For the layers that offer functions (and for tests that take one away).
void RegisterModuleFunction(const std::string& library, const std::string& name, FARPROC function);
void RemoveModuleFunction(const std::string& library, const std::string& name);

}  // namespace plat
