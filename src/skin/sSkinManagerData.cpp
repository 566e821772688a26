// The values of a skin description: skin-wide data, the general data of every section with
// inheritance, the palette, the constant indexes and the recolouring.
#include <algorithm>
#include <unordered_set>

#include "framework/colors.h"
#include "framework/sysutils.h"
#include "paint/color_ops.h"
#include "platform/wm/metrics.h"
#include "skin/sSkinManager.h"

namespace velmora {

namespace {

constexpr const char* kGlobalInfo = "GLOBALINFO";

TColor Rgb(TColor c) { return static_cast<TColor>(fw::ColorToRGB(c)); }

// A section and its PARENTCLASS chain, cut where a name comes round again.
class TacChain {
 public:
  TacChain(const TacIniFile& ini, const TacIniFile::Section& section) {
    std::unordered_set<std::string> seen;
    for (const TacIniFile::Section* s = &section; s && seen.insert(s->Name).second;) {
      chain_.push_back(s);
      const std::string* parent = s->Find("PARENTCLASS");
      s = parent && !parent->empty() ? ini.FindSection(*parent) : nullptr;
    }
  }

  // -1 (or anything unparsable) counts as missing; a parent's value is taken as a colour.
  int Int(std::string_view key, int fallback) const {
    for (std::size_t i = 0; i < chain_.size(); ++i) {
      int v = -1;
      if (const std::string* text = chain_[i]->Find(key); text && TryParseIniInt(*text, v) && v != -1)
        return i == 0 ? v : Rgb(v);
    }
    return fallback;
  }
  TColor Color(std::string_view key, TColor fallback) const { return Int(key, Rgb(fallback)); }
  // "?" counts as missing.
  std::string Str(std::string_view key, std::string_view fallback) const {
    for (const TacIniFile::Section* s : chain_)
      if (const std::string* text = s->Find(key); text && *text != "?") return *text;
    return std::string(fallback);
  }
  bool Bool(std::string_view key) const { return IniTrueText(Str(key, "0")); }

 private:
  std::vector<const TacIniFile::Section*> chain_;
};

int StrictInt(const TacIniFile& ini, std::string_view key, std::string_view fallback) {
  const std::string text = ini.ReadString(kGlobalInfo, key, fallback);
  int v = 0;
  if (!TryParseIniInt(text, v))
    throw ESkinDescriptionError("[GLOBALINFO] " + std::string(key) + ": " + fw::DoubleQuoted(text) +
                                " is not a valid integer value");
  return v;
}

TsFontColor ReadFontColor(const TacChain& c, std::string_view prefix) {
  const std::string p(prefix);
  return {c.Int(p + "FONTCOLOR", 0), c.Int(p + "TCLEFT", -1), c.Int(p + "TCTOP", -1), c.Int(p + "TCRIGHT", -1),
          c.Int(p + "TCBOTTOM", -1)};
}

}  // namespace

void TacSkinIndex::LoadGlobalData(const TacIniFile& ini) {
  TsSkinData& d = SkinData;
  auto num = [&](std::string_view key, int fallback) { return ini.ReadInteger(kGlobalInfo, key, fallback); };
  d.Version = ini.ReadFloat(kGlobalInfo, "VERSION", 0);
  d.Author = ini.ReadString(kGlobalInfo, "AUTHOR", "");
  d.Description = ini.ReadString(kGlobalInfo, "DESCRIPTION", "");
  d.Shadow1Color = num("SHADOW1COLOR", 0);
  d.Shadow1Offset = StrictInt(ini, "SHADOW1OFFSET", "0");
  d.Shadow1Blur = StrictInt(ini, "SHADOW1BLUR", "-1");
  d.Shadow1Transparency = StrictInt(ini, "SHADOW1TRANSPARENCY", "0");
  d.ExBorderWidth = num("BORDERWIDTH", 4);
  d.ExTitleHeight = num("TITLEHEIGHT", 30);
  if (d.ExTitleHeight == 0) d.ExTitleHeight = 30;
  d.ExMaxHeight = num("MAXHEIGHT", 0);
  if (d.ExMaxHeight == 0) d.ExMaxHeight = d.ExTitleHeight;
  d.ExContentOffs = num("FORMOFFSET", plat::GetSystemMetrics(plat::SM_CXFRAME));
  d.ExShadowOffs = num("ALIGNOFFSET", 0);
  d.ExCenterOffs = num("CENTEROFFSET", 0);
  d.ExDrawMode = num("BORDERMODE", 0);
  d.BISpacing = num("BISPACE", 0);
  d.BIVAlign = num("BIVALIGN", 0);
  d.BIRightMargin = num("BIRIGHT", 0);
  d.BILeftMargin = num("BILEFT", 0);
  d.BITopMargin = num("BITOP", 0);
  d.BIKeepHUE = num("BIKEEPHUE", 0);
  d.BICloseGlow = StrictInt(ini, "BICONCLOSEGLOW", "0");
  d.BICloseGlowMargin = StrictInt(ini, "BICONCLOSEGLOWMARGIN", "0");
  d.BIMaxGlow = StrictInt(ini, "BICONMAXGLOW", "0");
  d.BIMaxGlowMargin = StrictInt(ini, "BICONMAXGLOWMARGIN", "0");
  d.BIMinGlow = StrictInt(ini, "BICONMINGLOW", "0");
  d.BIMinGlowMargin = StrictInt(ini, "BICONMINGLOWMARGIN", "0");
  d.UseAeroBluring = num("AEROBLUR", 0) != 0;
}

void TacSkinIndex::LoadGeneralData(const TacIniFile& ini) {
  gd.clear();
  gd.reserve(ini.Sections().size());
  for (const TacIniFile::Section& s : ini.Sections()) {
    const TacChain c(ini, s);
    const std::string where = "[" + s.Name + "] ";
    TsGeneralData g;
    g.ClassName = s.Name;
    if (const std::string* parent = s.Find("PARENTCLASS")) g.ParentClass = *parent;
    g.Color = c.Color("COLOR", 0xFFFFFF);
    g.ReservedBoolean = c.Bool("RESERVEDBOOLEAN");
    g.GiveOwnFont = c.Bool("GIVEOWNFONT");
    g.GlowCount = c.Int("GLOW", 0);
    g.GlowMargin = c.Int("GLOWMARGIN", 0);
    g.FontColor = ReadFontColor(c, "");
    g.Transparency = c.Int("TRANSPARENCY", 0);
    g.GradientPercent = c.Int("GRADIENTPERCENT", 0);
    g.ImagePercent = c.Int("IMAGEPERCENT", 0);
    g.GradientData = c.Str("GRADIENTDATA", " ");
    g.GradientArray = ParseGradient(g.GradientData, where + "GRADIENTDATA");
    g.ShowFocus = c.Bool("SHOWFOCUS");
    g.FadingEnabled = c.Bool("FADINGENABLED");
    g.FadingIterations = c.Int("FADINGITERATIONS", 5);
    g.GlowColor = c.Color("GCOL", 0xFFFFFF);
    g.GlowSize = static_cast<std::uint8_t>(c.Int("GSIZE", 0));
    g.States = c.Int("STATES", 3);
    if (g.States >= 2) {
      g.HotFontColor = ReadFontColor(c, "HOT");
      g.HotGlowColor = c.Color("HGCOL", 0xFFFFFF);
      g.HotGlowSize = static_cast<std::uint8_t>(c.Int("HGSIZE", 0));
      g.HotColor = c.Int("HOTCOLOR", 0xFFFFFF);
      g.HotTransparency = c.Int("HOTTRANSPARENCY", 0);
      g.HotGradientPercent = c.Int("HOTGRADIENTPERCENT", 0);
      g.HotGradientData = c.Str("HOTGRADIENTDATA", "");
      g.HotGradientArray = ParseGradient(g.HotGradientData, where + "HOTGRADIENTDATA");
      g.HotImagePercent = c.Int("HOTIMAGEPERCENT", 0);
    }
    TsGenState& n = g.Props[0];
    n.Color = g.Color;
    n.FontColor = g.FontColor;
    n.GradientPercent = g.GradientPercent;
    n.GradientData = g.GradientData;
    n.GradientArray = g.GradientArray;
    n.ImagePercent = g.ImagePercent;
    n.GlowColor = g.GlowColor;
    n.GlowSize = g.GlowSize;
    n.Transparency = g.Transparency;
    if (g.States >= 2) {
      TsGenState& h = g.Props[1];
      h.Color = g.HotColor;
      h.FontColor = g.HotFontColor;
      h.GradientPercent = g.HotGradientPercent;
      h.GradientData = g.HotGradientData;
      h.GradientArray = g.HotGradientArray;
      h.ImagePercent = g.HotImagePercent;
      h.GlowColor = g.HotGlowColor;
      h.GlowSize = g.HotGlowSize;
      h.Transparency = g.HotTransparency;
    } else {
      g.Props[1] = g.Props[0];
    }
    gd.push_back(std::move(g));
  }
}

void TacSkinIndex::SetMaskIndexes() {
  for (std::size_t i = 0; i < gd.size(); ++i) {
    TsGeneralData& g = gd[i];
    if (g.ClassName == kGlobalInfo) continue;
    const int si = static_cast<int>(i);
    g.BorderIndex = GetMaskIndex(si, g.ClassName, "BORDERSMASK");
    g.ImgTL = GetMaskIndex(si, g.ClassName, "IMGTOPLEFT");
    g.ImgTR = GetMaskIndex(si, g.ClassName, "IMGTOPRIGHT");
    g.ImgBL = GetMaskIndex(si, g.ClassName, "IMGBTMLEFT");
    g.ImgBR = GetMaskIndex(si, g.ClassName, "IMGBTMRIGHT");
    g.TextureNormal = GetTextureIndex(si, g.ClassName, "PATTERN");
    g.Props[0].TextureIndex = g.TextureNormal;
    if (g.States > 1) g.Props[1].TextureIndex = GetTextureIndex(si, g.ClassName, "HOTPATTERN");
  }
}

void TacSkinIndex::FillPalette(const TacIniFile& ini) {
  TacPalette& p = Palette;
  auto num = [&](std::string_view key, int fallback) { return ini.ReadInteger(kGlobalInfo, key, fallback); };
  p[0] = Rgb(num("COLOR", fw::clBtnFace));
  p[1] = num("FONTCOLOR", 0);
  p[2] = num("TCBOTTOM", 0xFF0000);
  p[3] = num("TCTOP", 0x0000FF);
  const int edit = GetSkinIndex("EDIT");
  p[4] = edit >= 0 ? Rgb(gd[static_cast<std::size_t>(edit)].Props[0].FontColor.Color) : Rgb(fw::clWindowText);
  p[5] = edit >= 0 ? Rgb(gd[static_cast<std::size_t>(edit)].Props[0].Color) : Rgb(fw::clWindow);
  p[6] = p[7] = p[8] = p[9] = -1;
  if (const int sel = GetSkinIndex("SELECTION"); sel >= 0) {
    const TsGeneralData& g = gd[static_cast<std::size_t>(sel)];
    const int hot = g.States >= 2 ? 1 : 0;
    p[6] = g.Props[0].Color;
    p[7] = g.Props[0].FontColor.Color;
    p[8] = g.Props[static_cast<std::size_t>(hot)].Color;
    p[9] = g.Props[static_cast<std::size_t>(hot)].FontColor.Color;
  }
  if (p[7] == -1 || p[7] == kTransparentColor) {
    if (const int item = GetSkinIndex("MENUITEM"); item >= 0) {
      const TsGeneralData& g = gd[static_cast<std::size_t>(item)];
      const TColor font = g.HotFontColor.Color;
      p[7] = p[9] = (font == -1 || font == kTransparentColor) ? fw::clHighlightText : Rgb(font);
      p[6] = p[8] = g.HotColor;
    } else {
      p[7] = p[9] = Rgb(fw::clHighlightText);
      p[6] = p[8] = Rgb(fw::clHighlight);
    }
  }
  p[10] = num("EDITBG_INV", p[4]);
  p[11] = num("EDITTEXT_INV", p[5]);
  p[12] = num("EDITBG_ODD", p[5]);
  p[13] = num("EDITBG_EVEN", static_cast<TColor>(WeighColors(static_cast<std::uint32_t>(p[4]), static_cast<std::uint32_t>(p[5]), 0.05)));
  p[14] = num("EDITTEXT_OK", 0x008000);
  p[15] = num("EDITTEXT_WARN", 33924);
  p[16] = num("EDITTEXT_ALERT", 255);
  p[17] = num("EDITTEXT_ALERT", 8755161);
  p[18] = num("EDITTEXT_ALERT", 4895375);
  p[19] = num("EDITBG_OK", 7127717);
  p[20] = num("EDITBG_WARN", 0x40FFFF);
  p[21] = num("EDITBG_ALERT", 9807849);
  p[22] = num("EDITBG_ALERT", 8755161);
  p[23] = num("EDITBG_ALERT", 4895375);
  p[24] = num("EDITTEXT_H1", 0);
  p[25] = num("EDITTEXT_H2", 0);
  p[26] = num("EDITTEXT_H3", 0);
  p[27] = num("BORDERCOLOR", 0);
}

void TacSkinIndex::ApplyHueAndSaturation(int hueOffset, int saturation) {
  if (hueOffset == 0 && saturation == 0) return;
  auto recolour = [&](std::uint32_t c, bool hue) {
    return hue ? ShiftHue(c, hueOffset) : ScaleSaturation(c, saturation);
  };
  auto bitmaps = [&](bool hue) {
    std::vector<plat::Bitmap*> list;
    if (MasterBitmap && MasterBitmap->Pixels()) list.push_back(MasterBitmap->Pixels());
    for (TsMaskData& m : ma)
      if (m.Bmp && m.Bmp->Pixels()) list.push_back(m.Bmp->Pixels());
    for (plat::Bitmap* b : list) {
      if (b->Format() != plat::PixelFormat::Bgra32) continue;
      for (int y = 0; y < b->Height(); ++y) {
        plat::Pixel* row = b->Row(y);
        for (int x = 0; x < b->Width(); ++x) {
          const plat::Pixel p = row[x];
          const plat::Pixel r = plat::PixelR(p), g = plat::PixelG(p), bl = plat::PixelB(p);
          if ((p & 0xFFFFFF) == 0xFF00FF || (r == g && g == bl)) continue;
          row[x] = ExchangeRedBlue(recolour(ExchangeRedBlue(p), hue));
        }
      }
    }
  };
  auto colour = [&](TColor& c, bool hue) {
    if (c >= 0 && c != kTransparentColor) c = static_cast<TColor>(recolour(static_cast<std::uint32_t>(c), hue));
  };
  auto font = [&](TsFontColor& f, bool hue) {
    for (TColor* c : {&f.Color, &f.Left, &f.Top, &f.Right, &f.Bottom}) colour(*c, hue);
  };
  auto colours = [&](bool hue) {
    for (TsGeneralData& g : gd) {
      for (TColor* c : {&g.Color, &g.HotColor, &g.GlowColor, &g.HotGlowColor}) colour(*c, hue);
      font(g.FontColor, hue);
      font(g.HotFontColor, hue);
      for (TsGenState& s : g.Props) {
        colour(s.Color, hue);
        colour(s.GlowColor, hue);
        font(s.FontColor, hue);
        for (TsGradPie& pie : s.GradientArray) colour(pie.Color1, hue), colour(pie.Color2, hue);
      }
      for (TsGradArray* a : {&g.GradientArray, &g.HotGradientArray})
        for (TsGradPie& pie : *a) colour(pie.Color1, hue), colour(pie.Color2, hue);
    }
    colour(SkinData.Shadow1Color, hue);
    for (TColor& c : Palette) colour(c, hue);
  };
  if (hueOffset != 0) {
    // Title-button glyphs of the master bitmap may keep their own colours.
    std::vector<std::pair<plat::RECT, std::vector<plat::Pixel>>> kept;
    plat::Bitmap* master = MasterBitmap ? MasterBitmap->Pixels() : nullptr;
    if (SkinData.BIKeepHUE == 1 || SkinData.BIKeepHUE == 2) {
      std::vector<std::string_view> names = {"BICONCLOSE", "BICLOSEALONE", "SICONCLOSE"};
      if (SkinData.BIKeepHUE == 1)
        names.insert(names.end(), {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"});
      for (const TsMaskData& m : ma) {
        if (m.Bmp || !master || m.ClassName != kGlobalInfo ||
            std::find(names.begin(), names.end(), m.PropertyName) == names.end())
          continue;
        const plat::RECT r = {std::max(m.R.left, 0), std::max(m.R.top, 0), std::min<int>(m.R.right, master->Width()),
                              std::min<int>(m.R.bottom, master->Height())};
        std::vector<plat::Pixel> px;
        for (int y = r.top; y < r.bottom; ++y) px.insert(px.end(), master->Row(y) + r.left, master->Row(y) + r.right);
        kept.emplace_back(r, std::move(px));
      }
    }
    bitmaps(true);
    colours(true);
    for (const auto& [r, px] : kept) {
      auto it = px.begin();
      for (int y = r.top; y < r.bottom; ++y, it += r.right - r.left) std::copy(it, it + (r.right - r.left), master->Row(y) + r.left);
    }
  }
  if (saturation != 0) {
    bitmaps(false);
    colours(false);
  }
}

void TacSkinIndex::InitConstantIndexes() {
  TConstantSkinData& c = ConstData;
  c = TConstantSkinData{};
  c.IndexGLobalInfo = GetSkinIndex(kGlobalInfo);
  auto global = [&](std::string_view mask) { return GetMaskIndex(c.IndexGLobalInfo, kGlobalInfo, mask); };
  c.CheckBoxChecked = global("BOXCHECKED");
  c.CheckBoxUnChecked = global("BOXUNCHECKED");
  c.CheckBoxGrayed = global("BOXGRAYED");
  c.RadioButtonChecked = global("RADIOCHECKED");
  c.RadioButtonUnChecked = global("RADIOUNCHECKED");
  c.RadioButtonGrayed = global("RADIOGRAYED");
  c.SmallCheckBoxChecked = global("SMALLCHECKED");
  c.SmallCheckBoxUnChecked = global("SMALLUNCHECKED");
  c.SmallCheckBoxGrayed = global("SMALLGRAYED");
  c.ExBorder = global("EXBORDER");
  c.GripRightBottom = global("GRIPIMAGE");
  c.GripHorizontal = global("GRIPHORZ");
  c.GripVertical = global("GRIPVERT");

  c.ComboBtnIndex = GetSkinIndex("COMBOBTN");
  c.ComboBtnBorder = GetMaskIndex("COMBOBTN", "BORDERSMASK");
  c.ComboBtnBG = GetTextureIndex(c.ComboBtnIndex, "COMBOBTN", "PATTERN");
  c.ComboBtnBGHot = GetTextureIndex(c.ComboBtnIndex, "COMBOBTN", "HOTPATTERN");
  c.ComboGlyph = GetMaskIndex("COMBOBOX", "GLYPHMASK");

  c.IndexTabTop = GetSkinIndex("TABTOP");
  c.IndexTabBottom = GetSkinIndex("TABBOTTOM");
  c.IndexTabLeft = GetSkinIndex("TABLEFT");
  c.IndexTabRight = GetSkinIndex("TABRIGHT");
  c.MaskTabTop = GetMaskIndex(c.IndexTabTop, "TABTOP", "BORDERSMASK");
  c.MaskTabBottom = GetMaskIndex(c.IndexTabTop, "TABBOTTOM", "BORDERSMASK");
  c.MaskTabLeft = GetMaskIndex(c.IndexTabTop, "TABLEFT", "BORDERSMASK");
  c.MaskTabRight = GetMaskIndex(c.IndexTabTop, "TABRIGHT", "BORDERSMASK");

  struct Four {
    const char* section;
    int *index, *mask, *arrow, *bg, *bgHot;
  };
  const Four scroll[] = {
      {"SCROLLBTNTOP", &c.IndexScrollTop, &c.MaskScrollTop, &c.MaskArrowTop, &c.IndexBGScrollTop, &c.IndexBGHotScrollTop},
      {"SCROLLBTNBOTTOM", &c.IndexScrollBottom, &c.MaskScrollBottom, &c.MaskArrowBottom, &c.IndexBGScrollBottom,
       &c.IndexBGHotScrollBottom},
      {"SCROLLBTNLEFT", &c.IndexScrollLeft, &c.MaskScrollLeft, &c.MaskArrowLeft, &c.IndexBGScrollLeft, &c.IndexBGHotScrollLeft},
      {"SCROLLBTNRIGHT", &c.IndexScrollRight, &c.MaskScrollRight, &c.MaskArrowRight, &c.IndexBGScrollRight,
       &c.IndexBGHotScrollRight},
      {"SCROLLSLIDERV", &c.IndexSliderVert, &c.MaskSliderVert, &c.MaskSliderGlyphVert, &c.ScrollSliderBGVert,
       &c.ScrollSliderBGHotVert},
      {"SCROLLSLIDERH", &c.IndexSliderHorz, &c.MaskSliderHorz, &c.MaskSliderGlyphHorz, &c.ScrollSliderBGHorz,
       &c.ScrollSliderBGHotHorz},
      {"SCROLLBAR1H", &c.IndexScrollBar1H, &c.MaskScrollBar1H, nullptr, &c.BGScrollBar1H, &c.BGHotScrollBar1H},
      {"SCROLLBAR1V", &c.IndexScrollBar1V, &c.MaskScrollBar1V, nullptr, &c.BGScrollBar1V, &c.BGHotScrollBar1V},
      {"SCROLLBAR2H", &c.IndexScrollBar2H, &c.MaskScrollBar2H, nullptr, &c.BGScrollBar2H, &c.BGHotScrollBar2H},
      {"SCROLLBAR2V", &c.IndexScrollBar2V, &c.MaskScrollBar2V, nullptr, &c.BGScrollBar2V, &c.BGHotScrollBar2V},
  };
  for (const Four& f : scroll) {
    *f.index = GetSkinIndex(f.section);
    *f.mask = GetMaskIndex(*f.index, f.section, "BORDERSMASK");
    if (f.arrow) *f.arrow = GetMaskIndex(*f.index, f.section, "GLYPHMASK");
    *f.bg = GetMaskIndex(*f.index, f.section, "PATTERN");
    *f.bgHot = GetMaskIndex(*f.index, f.section, "HOTPATTERN");
  }

  c.MaskCloseBtn = global("BICONCLOSE");
  c.MaskCloseAloneBtn = global("BICLOSEALONE");
  c.MaskMaxBtn = global("BICONMAX");
  c.MaskNormBtn = global("BICONNORM");
  c.MaskMinBtn = global("BICONMIN");
  c.MaskHelpBtn = global("BICONHELP");
  c.MaskCloseSmall = global("SICONCLOSE");
  c.MaskMaxSmall = global("SICONMAX");
  c.MaskNormSmall = global("SICONNORM");
  c.MaskMinSmall = global("SICONMIN");
  c.MaskHelpSmall = global("SICONHELP");
  c.IndexWebBtn = GetSkinIndex("WEBBUTTON");
}

}  // namespace velmora
