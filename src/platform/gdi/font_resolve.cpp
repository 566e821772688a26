#include "platform/gdi/font_resolve.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "platform/base/utf.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/text.h"

namespace plat::gdi {

namespace {

// Our own configuration, so that it can be freed with the library's caches once the last
// pattern taken from it is gone (leak checkers see nothing left behind).
struct FcContext {
  FcConfig* config = FcInitLoadConfigAndFonts();
  ~FcContext() {
    if (config) FcConfigDestroy(config);
    FcFini();
  }
};

std::shared_ptr<FcContext> Context() {
  static const std::shared_ptr<FcContext> context = std::make_shared<FcContext>();
  return context;
}

// Full-width Latin as ASCII, ASCII lower case: the platform matches face names so loosely.
std::string NormalizedName(std::string_view name) {
  std::string out;
  for (std::size_t pos = 0; pos < name.size();) {
    char32_t c = NextCodePoint(name, pos);
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;
    if (c == 0x3000) c = ' ';
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    AppendUtf8(out, c);
  }
  return out;
}

struct Alias {
  std::string_view name;  // normalised
  const char* family;
};
constexpr const char* kGothic = "IPAGothic";
constexpr const char* kPGothic = "IPAPGothic";
constexpr const char* kSans = "DejaVu Sans";
constexpr std::array<Alias, 11> kAliases{{
    {"ms ゴシック", kGothic},
    {"ms gothic", kGothic},
    {"ms pゴシック", kPGothic},
    {"ms pgothic", kPGothic},
    {"ms ui gothic", kPGothic},
    {"tahoma", kSans},
    {"ms sans serif", kSans},
    {"ms shell dlg", kSans},
    {"ms shell dlg 2", kSans},
    {"segoe ui", kSans},
    {"", kSans},
}};

std::string StringOf(FcPattern* p, const char* object) {
  FcChar8* s = nullptr;
  return FcPatternGetString(p, object, 0, &s) == FcResultMatch ? reinterpret_cast<const char*>(s) : "";
}
int IntOf(FcPattern* p, const char* object, int fallback) {
  int v = 0;
  return FcPatternGetInteger(p, object, 0, &v) == FcResultMatch ? v : fallback;
}

std::string Canonical(const std::string& file) {
  std::error_code ec;
  auto path = std::filesystem::canonical(file, ec);
  return ec ? file : path.string();
}

FaceRef RefOf(FcPattern* p) {
  FaceRef ref;
  const std::string file = StringOf(p, FC_FILE);
  if (file.empty()) return ref;
  ref.file = Canonical(file);
  ref.index = IntOf(p, FC_INDEX, 0);
  return ref;
}

bool CoversJapanese(FcPattern* p) {
  FcLangSet* langs = nullptr;
  return FcPatternGetLangSet(p, FC_LANG, 0, &langs) == FcResultMatch &&
         FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual;
}

// A configured pattern; the caller owns it.
FcPattern* MakePattern(FcConfig* config, const char* family, int weight, bool italic, bool japanese) {
  FcPattern* p = FcPatternCreate();
  if (family) FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(p, FC_WEIGHT, FcWeightFromOpenType(weight > 0 ? weight : FW_NORMAL));
  FcPatternAddInteger(p, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(p, FC_SCALABLE, FcTrue);
  if (japanese) FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(config, p, FcMatchPattern);
  FcDefaultSubstitute(p);
  return p;
}

}  // namespace

// Sorting every installed face is the slow part of fontconfig, so it waits for the first
// character the primary face cannot show.
struct FallbackList {
  struct Entry {
    FaceRef face;
    FcCharSet* charset = nullptr;  // owned by the sorted set
  };

  FallbackList(std::shared_ptr<FcContext> c, FcPattern* p) : context(std::move(c)), pattern(p) {}
  ~FallbackList() {
    if (sorted) FcFontSetDestroy(sorted);
    FcPatternDestroy(pattern);
  }
  FallbackList(const FallbackList&) = delete;
  FallbackList& operator=(const FallbackList&) = delete;

  void Sort() {
    done = true;
    if (!context->config) return;
    FcResult result;
    sorted = FcFontSort(context->config, pattern, FcTrue, nullptr, &result);
    if (!sorted) return;
    for (int i = 0; i < sorted->nfont; ++i) {
      FcPattern* font = sorted->fonts[i];
      FcBool color = FcFalse;
      FcBool scalable = FcTrue;
      FcPatternGetBool(font, FC_COLOR, 0, &color);
      FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
      if (color || !scalable) continue;  // drawn only from outlines
      Entry e;
      e.face = RefOf(font);
      if (e.face.file.empty() || FcPatternGetCharSet(font, FC_CHARSET, 0, &e.charset) != FcResultMatch) continue;
      entries.push_back(std::move(e));
    }
  }

  std::shared_ptr<FcContext> context;  // outlives the patterns
  FcPattern* pattern;
  FcFontSet* sorted = nullptr;
  std::vector<Entry> entries;
  bool done = false;
};

const FaceRef* FallbackFace(FallbackList& list, char32_t c) {
  if (!list.done) list.Sort();
  for (const auto& e : list.entries)
    if (FcCharSetHasChar(e.charset, c)) return &e.face;
  return nullptr;
}

std::string AliasedFamily(std::string_view faceName) {
  const std::string key = NormalizedName(faceName);
  for (const auto& a : kAliases)
    if (a.name == key) return a.family;
  return std::string(faceName);
}

std::shared_ptr<const Resolution> ResolveFont(std::string_view faceName, int weight, bool italic, BYTE charSet) {
  static std::unordered_map<std::string, std::shared_ptr<const Resolution>> cache;
  const bool wantJapanese = charSet == SHIFTJIS_CHARSET;
  std::string key(faceName);
  key += '\0';
  key += std::to_string(weight) + (italic ? "i" : "r") + (wantJapanese ? "j" : "");
  if (auto it = cache.find(key); it != cache.end()) return it->second;

  auto context = Context();
  auto res = std::make_shared<Resolution>();
  if (context->config) {
    const std::string family = AliasedFamily(faceName);
    FcPattern* pattern = MakePattern(context->config, family.c_str(), weight, italic, wantJapanese);
    FcResult result;
    FcPattern* match = FcFontMatch(context->config, pattern, &result);
    if (wantJapanese && match && !CoversJapanese(match)) {
      // A Japanese character set outranks the face name, as the platform's font mapper has it.
      FcPatternDestroy(match);
      FcPatternDestroy(pattern);
      pattern = MakePattern(context->config, nullptr, weight, italic, true);
      match = FcFontMatch(context->config, pattern, &result);
    }
    if (match) {
      res->primary = RefOf(match);
      res->japanese = CoversJapanese(match);
      FcPatternDestroy(match);
    }
    res->fallback = std::make_shared<FallbackList>(context, pattern);
  }
  cache.emplace(std::move(key), res);
  return res;
}

}  // namespace plat::gdi
