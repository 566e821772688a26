#include "platform/resources/resources.h"

#include <string>

#include "platform/resources/embedded.h"

namespace plat {

namespace {

// The key a name is stored under: "#n" for numbers, upper case otherwise.
std::string Key(const char* id) {
  std::string key;
  if (IS_INTRESOURCE(id)) {
    key = '#';
    key += std::to_string(reinterpret_cast<std::uintptr_t>(id));
    return key;
  }
  key = id;
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

const EmbeddedResource* Find(const char* name, const char* type) {
  if (!name || !type) return nullptr;
  const std::string wantName = Key(name);
  const std::string wantType = Key(type);
  for (const EmbeddedResourceTable* t = EmbeddedResourceTables(); t; t = t->next)
    for (std::size_t i = 0; i < t->count; ++i)
      if (wantType == t->entries[i].type && wantName == t->entries[i].name) return &t->entries[i];
  return nullptr;
}

// Only handles that FindResource gave out are taken.
const EmbeddedResource* FromHandle(HRSRC resource) {
  for (const EmbeddedResourceTable* t = EmbeddedResourceTables(); t; t = t->next)
    for (std::size_t i = 0; i < t->count; ++i)
      if (reinterpret_cast<HRSRC>(const_cast<EmbeddedResource*>(&t->entries[i])) == resource) return &t->entries[i];
  return nullptr;
}

}  // namespace

HRSRC FindResource(HMODULE module, const char* name, const char* type) {
  if (module) return nullptr;
  return reinterpret_cast<HRSRC>(const_cast<EmbeddedResource*>(Find(name, type)));
}

HGLOBAL LoadResource(HMODULE module, HRSRC resource) {
  const EmbeddedResource* r = module ? nullptr : FromHandle(resource);
  return r ? const_cast<std::uint8_t*>(r->data) : nullptr;
}

const void* LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE module, HRSRC resource) {
  const EmbeddedResource* r = module ? nullptr : FromHandle(resource);
  return r ? static_cast<DWORD>(r->size) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

std::span<const std::uint8_t> FindResourceBytes(const char* type, const char* name) {
  const EmbeddedResource* r = Find(name, type);
  if (!r) return {};
  return {r->data, r->size};
}

}  // namespace plat
