#include <gtest/gtest.h>

#include <algorithm>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/exceptions.h"
#include "framework/jpeg_image.h"
#include "framework/picture.h"
#include "framework/png_image.h"
#include "framework/shared_handles.h"
#include "framework/streams.h"
#include "platform/gdi/image_codecs.h"
#include "platform/resources/resources.h"

namespace fw {
namespace {

using plat::MakePixel;
using plat::Pixel;

// A canvas over a fresh 32-bit picture, filled with one pixel value.
class Surface {
 public:
  Surface(int w, int h, Pixel fill) { bitmap.SetSize(w, h), bitmap.Pixels()->Fill(fill); }
  Pixel At(int x, int y) const { return bitmap.Pixels()->Row(y)[x]; }
  TCanvas& Canvas() { return bitmap.Canvas(); }
  TBitmap bitmap;
};

TEST(Colors, SystemColoursResolveAndPlainOnesStay) {
  EXPECT_EQ(ColorToRGB(clBtnFace), plat::GetSysColor(plat::COLOR_BTNFACE));
  EXPECT_LT(clBtnFace, 0);
  EXPECT_EQ(ColorToRGB(clFuchsia), 0x00FF00FFu);
  EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
  EXPECT_EQ(StringToColor("clWindowText"), clWindowText);
  EXPECT_EQ(StringToColor("$00FF0000"), clBlue);
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_THROW(StringToColor("clBrown"), EConvertError);
}

TEST(Font, HandleIsMadeOnceAndRemadeAfterAChange) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  EXPECT_FALSE(font.HandleAllocated());
  plat::HFONT first = font.Handle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(font.Handle(), first);
  font.SetHeight(font.Height());  // no change, no announcement
  EXPECT_EQ(changes, 0);
  font.SetStyle({fsBold});
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(font.HandleAllocated());
  plat::LOGFONT lf;
  ASSERT_NE(plat::GetObject(font.Handle(), sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfWeight, plat::FW_BOLD);
  EXPECT_EQ(font.Handle(), font.Handle());
}

TEST(Font, SizeIsPointsAtTheFontsResolution) {
  TFont font;
  font.SetHeight(-16);
  EXPECT_EQ(font.Size(), 12);
  font.SetSize(18);
  EXPECT_EQ(font.Height(), -24);
  font.SetHeight(-11);
  EXPECT_EQ(font.Size(), 8);
}

TEST(Font, EqualFontsShareOneHandleThatGoesWithTheLast) {
  const int before = SharedGraphicsHandleCount();
  {
    TFont a, b;
    a.SetName("IPAGothic");
    b.Assign(&a);
    EXPECT_EQ(a.Handle(), b.Handle());
    EXPECT_EQ(SharedGraphicsHandleCount(), before + 1);
  }
  EXPECT_EQ(SharedGraphicsHandleCount(), before);
}

TEST(Canvas, FillsWithItsBrushAndDeselectsAChangedFont) {
  Surface s(8, 8, 0);
  TCanvas& c = s.Canvas();
  c.Brush().SetColor(clRed);
  c.FillRect({1, 1, 3, 3});
  EXPECT_EQ(s.At(1, 1) & 0x00FFFFFF, 0x00FF0000u);
  EXPECT_EQ(s.At(3, 3), 0u);
  EXPECT_EQ(c.Pixels(2, 2), plat::RGB(255, 0, 0));
  c.Brush().SetStyle(bsClear);
  c.FillRect({4, 4, 6, 6});
  EXPECT_EQ(s.At(4, 4), 0u);

  EXPECT_GT(c.TextWidth("abc"), 0);
  plat::HFONT used = c.Font().Handle();
  EXPECT_EQ(plat::GetCurrentObject(c.Handle(), plat::OBJ_FONT), used);
  c.Font().SetHeight(-30);
  EXPECT_NE(plat::GetCurrentObject(c.Handle(), plat::OBJ_FONT), used);
  EXPECT_GT(c.TextHeight("abc"), 20);
  plat::RECT r{0, 0, 0, 0};
  c.TextRect(r, "abc", {tfCalcRect, tfSingleLine});
  EXPECT_EQ(r.right, c.TextWidth("abc"));
}

TEST(Bitmap, ScanLinesAreTopDownRowsOfWhatTheCanvasDraws) {
  TBitmap b(4, 3);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  auto* row = reinterpret_cast<Pixel*>(b.ScanLine(2));
  row[1] = MakePixel(0, 0, 255, 255);
  EXPECT_EQ(b.Canvas().Pixels(1, 2), plat::RGB(0, 0, 255));
  b.Canvas().Brush().SetColor(clLime);
  b.Canvas().FillRect({0, 0, 4, 1});
  EXPECT_EQ(reinterpret_cast<Pixel*>(b.ScanLine(0))[3] & 0x00FFFFFF, 0x0000FF00u);
  EXPECT_THROW(b.ScanLine(3), EInvalidGraphicOperation);

  b.SetSize(6, 3);  // grows, keeping what was there, and stays selected in the canvas
  EXPECT_EQ(b.Canvas().Pixels(1, 2), plat::RGB(0, 0, 255));
  b.Canvas().FillRect({5, 0, 6, 1});
  EXPECT_EQ(reinterpret_cast<Pixel*>(b.ScanLine(0))[5] & 0x00FFFFFF, 0x0000FF00u);

  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(b.Pixels()->PixelAt(1, 2) & 0x00FFFFFF, 0x000000FFu);
  EXPECT_EQ(b.Pixels()->Stride(), 20u);  // 6 * 3 bytes, padded to four
}

TEST(Bitmap, TransparentDrawingLeavesOutTheBottomLeftColour) {
  TBitmap b(2, 2);
  b.Pixels()->Fill(MakePixel(255, 0, 255, 255));       // magenta, also the bottom-left pixel
  b.Pixels()->Row(0)[1] = MakePixel(0, 0, 255, 255);   // one blue pixel
  b.SetTransparent(true);
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  Surface s(4, 4, MakePixel(255, 255, 255, 255));
  s.Canvas().Draw(1, 1, &b);
  EXPECT_EQ(s.At(1, 1), MakePixel(255, 255, 255, 255));
  EXPECT_EQ(s.At(2, 1), MakePixel(0, 0, 255, 255));
  s.Canvas().StretchDraw({0, 2, 4, 4}, &b);  // doubled: the blue pixel covers two columns
  EXPECT_EQ(s.At(2, 2), MakePixel(0, 0, 255, 255));
  EXPECT_EQ(s.At(3, 3), MakePixel(255, 255, 255, 255));
}

TEST(Bitmap, DefinedAlphaBlendsAndPremultipliedAlphaIsConvertedBothWays) {
  TBitmap b(1, 1);
  b.Pixels()->Row(0)[0] = MakePixel(255, 0, 0, 128);
  b.SetAlphaFormat(afDefined);
  Surface s(1, 1, MakePixel(255, 255, 255, 255));
  s.Canvas().Draw(0, 0, &b);
  EXPECT_EQ(s.At(0, 0), MakePixel(255, 127, 127, 255));
  b.SetAlphaFormat(afPremultiplied);
  EXPECT_EQ(b.Pixels()->Row(0)[0], MakePixel(128, 0, 0, 128));
  b.SetAlphaFormat(afDefined);
  EXPECT_EQ(b.Pixels()->Row(0)[0], MakePixel(255, 0, 0, 128));
}

TEST(Bitmap, LoadsFromABitmapResourceOfTheProgram) {
  TBitmap b;
  b.LoadFromResourceName(nullptr, "fourcolours");
  ASSERT_EQ(b.Width(), 2);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.Canvas().Pixels(0, 0), plat::RGB(255, 0, 0));
  EXPECT_EQ(b.Canvas().Pixels(0, 1), plat::RGB(0, 0, 255));
  EXPECT_EQ(b.TransparentColor(), clBlue);
  EXPECT_THROW(b.LoadFromResourceName(nullptr, "Hello"), EResNotFound);  // an RCDATA, not a BITMAP
}

plat::Bitmap Checker() {
  plat::Bitmap px(3, 2);
  px.Row(0)[0] = MakePixel(10, 20, 30, 255);
  px.Row(1)[2] = MakePixel(200, 100, 50, 64);
  return px;
}

TEST(Picture, LoadsPngWithItsAlphaAndBmpByTheirSignatures) {
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  TBytesStream png(plat::WritePng(Checker()));
  picture.LoadFromStream(png);
  ASSERT_NE(dynamic_cast<TPngImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 2);
  EXPECT_TRUE(picture.Graphic()->Transparent());
  const auto& pixels = *static_cast<TPngImage*>(picture.Graphic())->Bitmap().Pixels();
  EXPECT_EQ(pixels.Row(1)[2], MakePixel(200, 100, 50, 64));
  EXPECT_EQ(changes, 1);

  Surface s(3, 2, MakePixel(0, 0, 0, 255));
  s.Canvas().Draw(0, 0, picture.Graphic());
  EXPECT_EQ(s.At(0, 0), MakePixel(10, 20, 30, 255));
  EXPECT_EQ(s.At(2, 1), MakePixel(50, 25, 13, 255));  // a quarter of the colour over black

  TBytesStream bmp(plat::WriteBmp(Checker()));
  picture.LoadFromStream(bmp);
  auto* bitmap = dynamic_cast<TBitmap*>(picture.Graphic());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Pixels()->Row(0)[0], MakePixel(10, 20, 30, 255));

  TBytesStream junk(std::string_view("GIF89a"));
  try {
    picture.LoadFromStream(junk);
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture format");
  }
  TBytesStream broken(std::string_view("BM not really a bitmap"));
  EXPECT_THROW(picture.LoadFromStream(broken), EInvalidGraphic);
  EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);  // a failed load changes nothing
}

TEST(Picture, LoadsAJpegResourceOpaqueAndSavesTheSameFile) {
  TResourceStream stream(HInstance, "SmallJpeg", plat::RT_RCDATA);
  TPicture picture;
  picture.LoadFromStream(stream);
  auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic());
  ASSERT_NE(jpeg, nullptr);
  const auto decoded = plat::ReadJpeg(stream.Bytes());
  EXPECT_EQ(jpeg->Width(), decoded->Width());
  EXPECT_EQ(jpeg->Height(), decoded->Height());
  EXPECT_EQ(plat::PixelA(jpeg->Bitmap().Pixels()->Row(0)[0]), 255u);
  TMemoryStream saved;
  picture.SaveToStream(saved);
  EXPECT_TRUE(std::equal(saved.Bytes().begin(), saved.Bytes().end(), stream.Bytes().begin(), stream.Bytes().end()));
  TBitmap bitmap;
  bitmap.Assign(jpeg);
  EXPECT_EQ(bitmap.Width(), jpeg->Width());
}

TEST(Picture, StoredDataNamesTheGraphicClassAndRoundTrips) {
  TPicture picture;
  TBytesStream png(plat::WritePng(Checker()));
  picture.LoadFromStream(png);
  TMemoryStream data;
  picture.WriteData(data);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.Memory()) + 1, 9), "TPngImage");
  data.SetPosition(0);
  TPicture copy;
  copy.ReadData(data);
  EXPECT_EQ(static_cast<TPngImage*>(copy.Graphic())->Bitmap().Pixels()->Row(1)[2], MakePixel(200, 100, 50, 64));

  TBitmap glyph;
  glyph.AssignPixels(Checker());
  TMemoryStream glyphData;
  glyph.WriteData(glyphData);
  glyphData.SetSize(glyphData.Size() - 1);  // cut short
  glyphData.SetPosition(0);
  TBitmap reread;
  EXPECT_THROW(reread.ReadData(glyphData), EReadError);
}

}  // namespace
}  // namespace fw
