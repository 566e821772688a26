#pragma once
// Inside the text code: FreeType faces with their HarfBuzz fonts, and the parts of a
// FontInstance that need them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/gdi/font_engine.h"

namespace plat::gdi {

struct FtLibrary;

// One face file at one pixel size; shared by every instance that uses it.
struct Face {
  Face() = default;
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;
  ~Face();

  std::shared_ptr<FtLibrary> library;  // outlives the face
  FT_Face face = nullptr;
  hb_font_t* hb = nullptr;
};

// Cached per (file, index, size); nullptr when FreeType cannot open the file.
std::shared_ptr<Face> OpenFace(const std::string& file, int index, int pixelSize);

}  // namespace plat::gdi

namespace plat {

struct FontInstance::Slot {
  std::shared_ptr<gdi::Face> face;
  std::string file;
  int index = 0;
  bool synthItalic = false;
  int boldStrength = 0;  // 26.6; synthetic bold widens outlines and advances by this much
};

// A small least-recently-used table of shaped lines, looked up without building a key.
struct FontInstance::ShapeCache {
  static constexpr std::size_t kCapacity = 128;

  struct Key {
    std::string text;
    bool rtl = false;
  };
  struct View {
    std::string_view text;
    bool rtl = false;
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(const View& k) const { return std::hash<std::string_view>{}(k.text) ^ k.rtl; }
    std::size_t operator()(const Key& k) const { return (*this)(View{k.text, k.rtl}); }
  };
  struct Equal {
    using is_transparent = void;
    static View V(const Key& k) { return {k.text, k.rtl}; }
    static View V(const View& k) { return k; }
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return V(a).rtl == V(b).rtl && V(a).text == V(b).text;
    }
  };
  struct Entry {
    std::shared_ptr<const gdi::ShapedRun> run;
    std::uint64_t used = 0;
  };

  std::unordered_map<Key, Entry, Hash, Equal> map;
  std::uint64_t clock = 0;
};

}  // namespace plat
