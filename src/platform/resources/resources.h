#pragma once
// Module resources under the platform's names: data embedded into the executable at build time
// (see velmora_embed_resources) and found by type and name. Names and types ignore case; a
// numbered one is given as MAKEINTRESOURCE(n) or as the string "#n". Only the program itself
// (module handle nullptr) carries resources.
#include <cstdint>
#include <span>

#include "platform/base/types.h"
#include "platform/gdi/modules.h"

namespace plat {

using HRSRC = struct HRSRC__*;
using HGLOBAL = HANDLE;

inline const char* const RT_BITMAP = MAKEINTRESOURCE(2);
inline const char* const RT_RCDATA = MAKEINTRESOURCE(10);

HRSRC FindResource(HMODULE module, const char* name, const char* type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// Embedded data is read-only; the pointer stays valid for the whole run.
const void* LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL data);

// The bytes of a resource of the program, empty when there is none.
std::span<const std::uint8_t> FindResourceBytes(const char* type, const char* name);

}  // namespace plat
