// Logical font objects.
#include "platform/gdi/font_engine.h"
#include "platform/gdi/objects.h"

namespace plat {

namespace gdi {

const FontInstance& InstanceOf(FontObject& font) {
  if (!font.instance) font.instance = FontInstance::For(font.font);
  return *font.instance;
}

const FontInstance& SelectedFont(DcObject& dc) {
  FontObject* f = Get<FontObject>(dc.state.font);
  if (!f) f = Get<FontObject>(GetStockObject(DEFAULT_GUI_FONT));
  if (f) return InstanceOf(*f);
  static const std::shared_ptr<const FontInstance> fallback = FontInstance::For(LOGFONT{});
  return *fallback;
}

}  // namespace gdi

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  return static_cast<HFONT>(gdi::Register(std::make_unique<gdi::FontObject>(*lf)));
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, const char* faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic ? 1 : 0;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfStrikeOut = strikeOut ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  lf.lfFaceName = faceName ? faceName : "";
  return CreateFontIndirect(&lf);
}

std::string ResolvedFontFile(HFONT font) {
  auto* f = gdi::Get<gdi::FontObject>(font);
  return f ? gdi::InstanceOf(*f).File() : std::string();
}

}  // namespace plat
