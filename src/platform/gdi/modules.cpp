#include "platform/gdi/modules.h"

#include <algorithm>
#include <map>

#include "platform/base/ascii.h"
#include "platform/gdi/gdi.h"

namespace plat {

namespace {

struct Library {
  std::string name;
  std::map<std::string, FARPROC> functions;
};

// Libraries live for the whole run; their addresses are the module handles.
std::map<std::string, Library>& Libraries() {
  static std::map<std::string, Library> libraries = [] {
    std::map<std::string, Library> l;
    l["msimg32.dll"] = {"msimg32.dll", {{"GradientFill", reinterpret_cast<FARPROC>(&GradientFill)}}};
    l["user32.dll"] = {"user32.dll", {}};
    return l;
  }();
  return libraries;
}

Library* FromHandle(HMODULE module) {
  for (auto& [key, library] : Libraries())
    if (reinterpret_cast<HMODULE>(&library) == module) return &library;
  return nullptr;
}

}  // namespace

HMODULE GetModuleHandle(const char* name) {
  if (!name) return nullptr;
  auto it = Libraries().find(AsciiLowerCase(name));
  return it == Libraries().end() ? nullptr : reinterpret_cast<HMODULE>(&it->second);
}

HMODULE LoadLibrary(const char* name) { return GetModuleHandle(name); }

BOOL FreeLibrary(HMODULE module) { return FromHandle(module) ? TRUE : FALSE; }

FARPROC GetProcAddress(HMODULE module, const char* name) {
  Library* library = FromHandle(module);
  if (!library || !name) return nullptr;
  auto it = library->functions.find(name);
  return it == library->functions.end() ? nullptr : it->second;
}

void RegisterModuleFunction(const std::string& library, const std::string& name, FARPROC function) {
  Library& l = Libraries()[AsciiLowerCase(library)];
  l.name = AsciiLowerCase(library);
  l.functions[name] = function;
}

void RemoveModuleFunction(const std::string& library, const std::string& name) {
  auto it = Libraries().find(AsciiLowerCase(library));
  if (it != Libraries().end()) it->second.functions.erase(name);
}

}  // namespace plat
