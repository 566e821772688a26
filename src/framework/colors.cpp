#include "framework/colors.h"

#include <cstdio>

#include "framework/exceptions.h"
#include "framework/sysutils.h"
#include "platform/gdi/gdi.h"

namespace fw {

namespace {

constexpr TEnumValue kColorNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream}, {"clMedGray", clMedGray},
    {"clNone", clNone}, {"clDefault", clDefault},
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground}, {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption}, {"clMenu", clMenu}, {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText}, {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText},
    {"clBtnText", clBtnText}, {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight}, {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText}, {"clInfoBk", clInfoBk}, {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption}, {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight}, {"clMenuBar", clMenuBar},
};
constexpr TEnumType kColorType{"TColor", kColorNames};

}  // namespace

plat::COLORREF ColorToRGB(TColor color) {
  if (color < 0) return plat::GetSysColor(color & 0xFF);
  return static_cast<plat::COLORREF>(color);
}

const TEnumType& ColorIdents() { return kColorType; }

bool IdentToColor(std::string_view ident, TColor& color) {
  const TEnumValue* v = FindEnumValue(kColorType, ident);
  if (!v) return false;
  color = static_cast<TColor>(v->value);
  return true;
}

std::string ColorToString(TColor color) {
  std::string name = EnumName(kColorType, color);
  if (!name.empty()) return name;
  char text[16];
  std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(color));
  return text;
}

TColor StringToColor(std::string_view text) {
  TColor color = 0;
  if (IdentToColor(text, color)) return color;
  std::int64_t v = 0;
  if (!TryStrToInt64(text, v) || v < INT32_MIN || v > 0xFFFFFFFFll) throw EConvertError(msg::InvalidInteger(std::string(text)));
  return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

}  // namespace fw
