#pragma once
// The records a skin description is read into: the skin-wide data, one general-data record per
// section, the image pieces, the patterns and the indexes painting asks for most.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "framework/jpeg_image.h"
#include "framework/png_image.h"
#include "platform/base/geometry.h"

namespace velmora {

using TColor = std::int32_t;

inline constexpr TColor kTransparentColor = 0xFF00FF;

struct TsSkinData {
  std::string SkinPath;
  bool Active = false;
  double Version = 0;
  std::string Author;
  std::string Description;
  TColor Shadow1Color = 0;
  int Shadow1Offset = 0;
  int Shadow1Blur = -1;
  int Shadow1Transparency = 0;
  int ExBorderWidth = 4;
  int ExTitleHeight = 30;
  int ExMaxHeight = 0;
  int ExContentOffs = 0;
  int ExShadowOffs = 0;
  int ExCenterOffs = 0;
  int ExDrawMode = 0;
  int BISpacing = 0;
  int BIVAlign = 0;
  int BIRightMargin = 0;
  int BILeftMargin = 0;
  int BITopMargin = 0;
  int BIKeepHUE = 0;
  int BICloseGlow = 0, BICloseGlowMargin = 0;
  int BIMaxGlow = 0, BIMaxGlowMargin = 0;
  int BIMinGlow = 0, BIMinGlowMargin = 0;
  bool UseAeroBluring = false;
};

struct TsFontColor {
  TColor Color = 0;
  TColor Left = -1, Top = -1, Right = -1, Bottom = -1;
};

struct TsGradPie {
  TColor Color1 = 0;
  TColor Color2 = 0;
  int Percent = 0;
  int Mode1 = 0;
  int Mode2 = 0;
};
using TsGradArray = std::vector<TsGradPie>;

struct TsGenState {
  TColor Color = 0;
  TsFontColor FontColor;
  int GradientPercent = 0;
  std::string GradientData;
  TsGradArray GradientArray;
  int ImagePercent = 0;
  int TextureIndex = -1;
  TColor GlowColor = 0;
  std::uint8_t GlowSize = 0;
  int Transparency = 0;
};

struct TsGeneralData {
  std::string ClassName;
  std::string ParentClass;
  std::array<TsGenState, 2> Props;

  TColor Color = 0xFFFFFF;
  bool ReservedBoolean = false;
  bool GiveOwnFont = false;
  int GlowCount = 0;
  int GlowMargin = 0;
  TsFontColor FontColor;
  int Transparency = 0;
  int GradientPercent = 0;
  int ImagePercent = 0;
  std::string GradientData = " ";
  TsGradArray GradientArray;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int FadingIterations = 5;
  TColor GlowColor = 0xFFFFFF;
  std::uint8_t GlowSize = 0;
  int States = 3;

  TsFontColor HotFontColor{0, 0, 0, 0, 0};
  TColor HotGlowColor = 0;
  std::uint8_t HotGlowSize = 0;
  TColor HotColor = 0;
  int HotTransparency = 0;
  int HotGradientPercent = 0;
  std::string HotGradientData;
  TsGradArray HotGradientArray;
  int HotImagePercent = 0;

  int BorderIndex = -1;
  int ImgTL = -1, ImgTR = -1, ImgBL = -1, ImgBR = -1;
  int TextureNormal = -1;
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

enum TacImgType { itisaBorder = 0, itisaTexture = 1, itisaGlyph = 2, itisaGlow = 3, itisaPngGlyph = 4 };

class TacSkinIndex;

struct TsMaskData {
  std::unique_ptr<fw::TBitmap> Bmp;  // null: the piece lies in the master bitmap
  std::string ClassName;
  std::string PropertyName;
  plat::RECT R{0, 0, 0, 0};
  int ImageCount = 0;
  int MaskType = 0;
  int BorderWidth = 0;
  int DrawMode = 0;
  TacImgType ImgType = itisaBorder;
  const TacSkinIndex* Manager = nullptr;
  int WL = 0, WT = 0, WR = 0, WB = 0;
  int CornerType = 0;

  int FrameWidth() const { return ImageCount > 0 ? (R.right - R.left) / ImageCount : 0; }
  int FrameHeight() const { return (R.bottom - R.top) / (MaskType + 1); }
};
using TsMaskArray = std::vector<TsMaskData>;

struct TsPatternData {
  std::unique_ptr<fw::TJPEGImage> Img;
  std::string ClassName;
  std::string PropertyName;
};
using TsPatternArray = std::vector<TsPatternData>;

struct TConstantSkinData {
  int IndexGLobalInfo = -1;
  int CheckBoxChecked = -1, CheckBoxUnChecked = -1, CheckBoxGrayed = -1;
  int RadioButtonChecked = -1, RadioButtonUnChecked = -1, RadioButtonGrayed = -1;
  int SmallCheckBoxChecked = -1, SmallCheckBoxUnChecked = -1, SmallCheckBoxGrayed = -1;
  int ExBorder = -1, GripRightBottom = -1, GripHorizontal = -1, GripVertical = -1;
  int ComboBtnIndex = -1, ComboBtnBorder = -1, ComboBtnBG = -1, ComboBtnBGHot = -1, ComboGlyph = -1;
  int IndexTabTop = -1, IndexTabBottom = -1, IndexTabLeft = -1, IndexTabRight = -1;
  int MaskTabTop = -1, MaskTabBottom = -1, MaskTabLeft = -1, MaskTabRight = -1;
  int IndexScrollTop = -1, IndexScrollBottom = -1, IndexScrollLeft = -1, IndexScrollRight = -1;
  int MaskScrollTop = -1, MaskScrollBottom = -1, MaskScrollLeft = -1, MaskScrollRight = -1;
  int MaskArrowTop = -1, MaskArrowBottom = -1, MaskArrowLeft = -1, MaskArrowRight = -1;
  int IndexBGScrollTop = -1, IndexBGScrollBottom = -1, IndexBGScrollLeft = -1, IndexBGScrollRight = -1;
  int IndexBGHotScrollTop = -1, IndexBGHotScrollBottom = -1, IndexBGHotScrollLeft = -1, IndexBGHotScrollRight = -1;
  int IndexSliderVert = -1, IndexSliderHorz = -1;
  int MaskSliderVert = -1, MaskSliderHorz = -1;
  int MaskSliderGlyphVert = -1, MaskSliderGlyphHorz = -1;
  int ScrollSliderBGHorz = -1, ScrollSliderBGHotHorz = -1, ScrollSliderBGVert = -1, ScrollSliderBGHotVert = -1;
  int MaskCloseBtn = -1, MaskCloseAloneBtn = -1, MaskMaxBtn = -1, MaskNormBtn = -1, MaskMinBtn = -1, MaskHelpBtn = -1;
  int MaskCloseSmall = -1, MaskMaxSmall = -1, MaskNormSmall = -1, MaskMinSmall = -1, MaskHelpSmall = -1;
  int IndexScrollBar1H = -1, IndexScrollBar1V = -1, IndexScrollBar2H = -1, IndexScrollBar2V = -1;
  int MaskScrollBar1H = -1, MaskScrollBar1V = -1, MaskScrollBar2H = -1, MaskScrollBar2V = -1;
  int BGScrollBar1H = -1, BGScrollBar1V = -1, BGScrollBar2H = -1, BGScrollBar2V = -1;
  int BGHotScrollBar1H = -1, BGHotScrollBar1V = -1, BGHotScrollBar2H = -1, BGHotScrollBar2V = -1;
  int IndexWebBtn = -1;
};

inline constexpr int kPaletteSize = 28;
using TacPalette = std::array<TColor, kPaletteSize>;

// The error of a description that cannot be read; the message names the section and key.
class ESkinDescriptionError : public fw::Exception {
 public:
  using fw::Exception::Exception;
};

// "N/A" and texts shorter than two characters give no groups; a field that is not a number
// raises ESkinDescriptionError.
TsGradArray ParseGradient(std::string_view text, std::string_view where);

// The in-bitmap mask forms "^", "@" and "~" into a record (no bitmap); false for any other
// first character. Bad digits or impossible geometry raise ESkinDescriptionError.
bool ParseBitmapMask(std::string_view value, TsMaskData& mask, std::string_view where);

// The fields of the "!" form after the leading "!": name, count, mask type, image type and
// optionally four widths and a draw mode.
struct TacExternalMask {
  std::string Name;
  int ImageCount = 1;
  int MaskType = 0;
  int ImageType = 0;
  bool HasWidths = false;
  int WL = 0, WT = 0, WR = 0, WB = 0;
  int DrawMode = 1;
};
TacExternalMask ParseExternalMask(std::string_view value, std::string_view where);

// Widths of a third of a frame, for pieces that give none.
void ComputeBorderWidths(TsMaskData& mask);

}  // namespace velmora
