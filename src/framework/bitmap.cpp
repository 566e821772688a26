#include "framework/bitmap.h"

#include <algorithm>
#include <cstring>

#include "framework/exceptions.h"
#include "framework/graphic_drawing.h"
#include "framework/streams.h"
#include "platform/base/bytes.h"
#include "platform/base/error.h"
#include "platform/gdi/image_codecs.h"
#include "platform/resources/resources.h"

namespace fw {

namespace {

plat::PixelFormat PlatformFormat(TPixelFormat format) {
  switch (format) {
    case pf8bit: return plat::PixelFormat::Gray8;
    case pf24bit: return plat::PixelFormat::Bgr24;
    case pf32bit:
    case pfDevice: return plat::PixelFormat::Bgra32;
    default: throw EInvalidGraphicOperation("Only 8, 24 and 32-bit bitmaps are supported");
  }
}

TPixelFormat FrameworkFormat(plat::PixelFormat format) {
  switch (format) {
    case plat::PixelFormat::Gray8: return pf8bit;
    case plat::PixelFormat::Bgr24: return pf24bit;
    case plat::PixelFormat::Bgra32: return pf32bit;
  }
  return pf32bit;
}

std::unique_ptr<plat::Bitmap> MakePixels(int width, int height, plat::PixelFormat format) {
  try {
    return std::make_unique<plat::Bitmap>(width, height, format);
  } catch (const plat::Error& e) {
    throw EInvalidGraphicOperation(e.what());
  }
}

}  // namespace

// The bitmap's canvas: a memory context with the bitmap selected, made when first drawn on.
class TBitmap::BitmapCanvas : public TCanvas {
 public:
  explicit BitmapCanvas(TBitmap& owner) : owner_(owner) {}
  ~BitmapCanvas() override { FreeContext(); }

  // Selects a new picture; answers the one that was selected (nullptr without a context).
  plat::HGDIOBJ Reselect(plat::HBITMAP handle) {
    return HandleAllocated() ? plat::SelectObject(Handle(), handle) : nullptr;
  }
  void FreeContext() {
    if (!HandleAllocated()) return;
    plat::HDC dc = Handle();
    SetHandle(nullptr);
    plat::SelectObject(dc, stock_);
    plat::DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    plat::HDC dc = plat::CreateCompatibleDC(nullptr);
    stock_ = plat::SelectObject(dc, owner_.Handle());
    SetHandle(dc);
  }

 private:
  TBitmap& owner_;
  plat::HGDIOBJ stock_ = nullptr;
};

const TMetaClass& TBitmap::StaticClass() {
  static const TMetaClass meta("TBitmap", &TGraphic::StaticClass(), FactoryFor<TBitmap>());
  return meta;
}

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() {
  canvas_.reset();
  if (handle_) plat::DeleteObject(handle_);
}

plat::Bitmap* TBitmap::Pixels() const { return handle_ ? plat::BitmapOf(handle_) : nullptr; }

int TBitmap::Width() const { return Pixels() ? Pixels()->Width() : 0; }
int TBitmap::Height() const { return Pixels() ? Pixels()->Height() : 0; }

void TBitmap::Replace(std::unique_ptr<plat::Bitmap> pixels) { Replace(plat::CreateBitmapHandle(std::move(pixels))); }

void TBitmap::Replace(plat::HBITMAP handle) {
  if (canvas_) canvas_->Reselect(handle);
  if (handle_) plat::DeleteObject(handle_);
  handle_ = handle;
  if (plat::Bitmap* p = Pixels()) pixelFormat_ = FrameworkFormat(p->Format());
}

void TBitmap::SetSize(int width, int height) {
  if (width == Width() && height == Height() && handle_) return;
  auto pixels = MakePixels(width, height, PlatformFormat(pixelFormat_));
  if (const plat::Bitmap* old = Pixels()) {
    const std::size_t bytes = std::min(old->Stride(), pixels->Stride());
    const int rows = std::min(old->Height(), height);
    const std::size_t used = static_cast<std::size_t>(std::min(old->Width(), width)) * (old->BitsPerPixel() / 8);
    for (int y = 0; y < rows; ++y) std::memcpy(pixels->Scanline(y), old->Scanline(y), std::min(bytes, used));
  }
  Replace(std::move(pixels));
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
  const plat::PixelFormat wanted = PlatformFormat(format);
  if (handle_ && Pixels()->Format() == wanted) return;
  const int w = Width(), h = Height();
  auto pixels = MakePixels(w, h, wanted);
  if (const plat::Bitmap* old = Pixels())
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels->SetPixelAt(x, y, old->PixelAt(x, y));
  pixelFormat_ = FrameworkFormat(wanted);
  Replace(std::move(pixels));
  Changed();
}

void TBitmap::SetAlphaFormat(TAlphaFormat format) {
  if (format == alphaFormat_) return;
  if (plat::Bitmap* p = Pixels()) {
    if (format == afPremultiplied && alphaFormat_ == afDefined) PremultiplyAlpha(*p);
    if (format == afDefined && alphaFormat_ == afPremultiplied) UnpremultiplyAlpha(*p);
  }
  alphaFormat_ = format;
  Changed();
}

std::uint8_t* TBitmap::ScanLine(int y) {
  plat::Bitmap* p = Pixels();
  if (!p || y < 0 || y >= p->Height() || p->Width() == 0) throw EInvalidGraphicOperation(msg::kScanLineRange);
  return p->Scanline(y);
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<BitmapCanvas>(*this);
  return *canvas_;
}

plat::HBITMAP TBitmap::Handle() {
  if (!handle_) Replace(MakePixels(0, 0, PlatformFormat(pixelFormat_)));
  return handle_;
}

void TBitmap::SetHandle(plat::HBITMAP handle) {
  if (handle == handle_) return;
  if (handle && !plat::BitmapOf(handle)) throw EInvalidGraphic(msg::kInvalidBitmap);
  if (!handle) {
    if (canvas_) canvas_->FreeContext();
  }
  Replace(handle);
  Changed();
}

plat::HBITMAP TBitmap::ReleaseHandle() {
  if (canvas_) canvas_->FreeContext();
  plat::HBITMAP handle = handle_;
  handle_ = nullptr;
  Changed();
  return handle;
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  const plat::Bitmap* p = Pixels();
  if (!p || p->Empty()) return clDefault;
  return static_cast<TColor>(plat::PixelToColor(p->PixelAt(0, p->Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor color) {
  transparentColor_ = color;
  transparentMode_ = color == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
  if (mode == transparentMode_) return;
  transparentMode_ = mode;
  if (mode == tmFixed && transparentColor_ == clDefault) transparentColor_ = TransparentColor();
  Changed();
}

void TBitmap::LoadFromStream(TStream& stream) {
  const std::vector<std::uint8_t> bytes = ReadPictureBytes(stream);
  auto pixels = DecodePicture(&plat::ReadBmp, bytes);
  alphaFormat_ = afIgnored;
  Replace(std::move(pixels));
  Changed();
}

void TBitmap::SaveToStream(TStream& stream) const {
  const plat::Bitmap* p = Pixels();
  std::vector<std::uint8_t> bytes;
  try {
    if (p && p->Format() == plat::PixelFormat::Bgra32) {
      bytes = plat::WriteBmp(*p);
    } else {
      plat::Bitmap wide(p ? p->Width() : 0, p ? p->Height() : 0);
      for (int y = 0; y < wide.Height(); ++y)
        for (int x = 0; x < wide.Width(); ++x) wide.SetPixelAt(x, y, p->PixelAt(x, y));
      bytes = plat::WriteBmp(wide);
    }
  } catch (const plat::Error& e) {
    throw EInvalidGraphic(e.what());
  }
  stream.WriteBuffer(bytes);
}

void TBitmap::LoadFromResourceName(plat::HMODULE instance, const std::string& name) {
  TResourceStream stream(instance, name, plat::RT_BITMAP);
  LoadFromStream(stream);
}

void TBitmap::ReadData(TStream& stream) {
  std::uint8_t head[4] = {};
  const std::int64_t start = stream.Position();
  stream.ReadBuffer(head, 4);
  if (head[0] == 'B' && head[1] == 'M') {  // a bare file, as hand-written descriptions may hold
    stream.SetPosition(start);
    LoadFromStream(stream);
    return;
  }
  const std::int64_t size = plat::ReadLe32(head);
  if (size > stream.Size() - stream.Position()) throw EReadError(msg::kReadError);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  stream.ReadBuffer(bytes.data(), size);
  TBytesStream file(bytes);
  LoadFromStream(file);
}

void TBitmap::WriteData(TStream& stream) const {
  TMemoryStream file;
  SaveToStream(file);
  const auto size = static_cast<std::uint32_t>(file.Size());
  const std::uint8_t head[4] = {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
  stream.WriteBuffer(head, 4);
  stream.WriteBuffer(file.Bytes());
}

void TBitmap::Assign(const TPersistent* source) {
  if (!source) {
    SetHandle(nullptr);
    return;
  }
  const auto* other = dynamic_cast<const TBitmap*>(source);
  if (!other) return TGraphic::Assign(source);
  if (other == this) return;
  alphaFormat_ = other->alphaFormat_;
  transparentMode_ = other->transparentMode_;
  transparentColor_ = other->transparentColor_;
  pixelFormat_ = other->pixelFormat_;
  if (const plat::Bitmap* p = other->Pixels()) Replace(std::make_unique<plat::Bitmap>(*p));
  else Replace(MakePixels(0, 0, PlatformFormat(pixelFormat_)));
  SetTransparent(other->Transparent());
  Changed();
}

void TBitmap::AssignPixels(const plat::Bitmap& pixels) {
  Replace(std::make_unique<plat::Bitmap>(pixels));
  Changed();
}

void TBitmap::Draw(TCanvas& canvas, const plat::RECT& rect) {
  plat::Bitmap* p = Pixels();
  if (!p || p->Empty()) return;
  plat::HDC dest = canvas.Handle();
  if (p->Format() == plat::PixelFormat::Bgra32 && alphaFormat_ != afIgnored) {
    DrawPixels(dest, rect, *p, alphaFormat_ == afPremultiplied ? TPixelBlend::Premultiplied : TPixelBlend::Alpha);
  } else if (Transparent()) {
    DrawPixels(dest, rect, *p, TPixelBlend::Keyed, ColorToRGB(TransparentColor()));
  } else {
    plat::HDC source = Canvas().Handle();
    plat::StretchBlt(dest, rect.left, rect.top, plat::RectWidth(rect), plat::RectHeight(rect), source, 0, 0,
                     p->Width(), p->Height(), canvas.CopyMode());
  }
}

}  // namespace fw
