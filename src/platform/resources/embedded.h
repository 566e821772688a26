#pragma once
// The tables that velmora_embed_resources generates. They hold no reference to the platform
// library: the list head is an inline function, so a generated object links on its own and
// registers itself before main, whatever the order of libraries on the link line.
#include <cstddef>
#include <cstdint>

namespace plat {

struct EmbeddedResource {
  const char* type;  // upper case, or "#n" for a numbered type (RT_RCDATA is "#10")
  const char* name;  // upper case, or "#n"
  const std::uint8_t* data;
  std::size_t size;
};

struct EmbeddedResourceTable {
  const EmbeddedResource* entries;
  std::size_t count;
  const EmbeddedResourceTable* next;
};

// Constant-initialised, so a table registering itself during static initialisation never finds
// it unset.
inline const EmbeddedResourceTable*& EmbeddedResourceTables() {
  static const EmbeddedResourceTable* head = nullptr;
  return head;
}

inline bool RegisterEmbeddedResources(EmbeddedResourceTable& table) {
  table.next = EmbeddedResourceTables();
  EmbeddedResourceTables() = &table;
  return true;
}

}  // namespace plat
