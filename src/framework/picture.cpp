#include "framework/picture.h"

#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "framework/jpeg_image.h"
#include "framework/png_image.h"
#include "framework/stored_properties.h"
#include "framework/streams.h"
#include "framework/sysutils.h"

namespace fw {

namespace {

const TMetaClass* const* GraphicClasses() {
  static const TMetaClass* const classes[] = {&TBitmap::StaticClass(), &TPngImage::StaticClass(),
                                              &TJPEGImage::StaticClass(), nullptr};
  return classes;
}

// The class of a picture file by its first bytes.
const TMetaClass* ClassOfFile(std::span<const std::uint8_t> head) {
  if (head.size() >= 2 && head[0] == 'B' && head[1] == 'M') return &TBitmap::StaticClass();
  if (head.size() >= 8 && head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G')
    return &TPngImage::StaticClass();
  if (head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return &TJPEGImage::StaticClass();
  return nullptr;
}

std::unique_ptr<TGraphic> Make(const TMetaClass& cls) {
  return std::unique_ptr<TGraphic>(static_cast<TGraphic*>(cls.Create(nullptr).release()));
}

}  // namespace

std::unique_ptr<TGraphic> CreateGraphic(std::string_view className) {
  for (const TMetaClass* const* c = GraphicClasses(); *c; ++c)
    if (SameText((*c)->Name(), className)) return Make(**c);
  return nullptr;
}

const TMetaClass& TPicture::StaticClass() {
  static const TMetaClass meta("TPicture", &TPersistent::StaticClass(), FactoryFor<TPicture>(), Stored<TPicture>([](auto& b) {
    b.Binary("Data", &TPicture::ReadData);
  }));
  return meta;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  if (!graphic) {
    Take(nullptr);
    return;
  }
  if (graphic == graphic_.get()) return;
  auto copy = Make(graphic->ClassType());
  copy->Assign(graphic);
  Take(std::move(copy));
}

TBitmap* TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) Take(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromStream(TStream& stream) {
  std::uint8_t head[8] = {};
  const std::int64_t start = stream.Position();
  const std::int64_t got = stream.Read(head, sizeof head);
  stream.SetPosition(start);
  const TMetaClass* cls = ClassOfFile(std::span<const std::uint8_t>(head, static_cast<std::size_t>(got)));
  if (!cls) throw EInvalidGraphic(msg::kUnknownPictureFormat);
  auto graphic = Make(*cls);
  graphic->LoadFromStream(stream);
  Take(std::move(graphic));
}

void TPicture::SaveToStream(TStream& stream) const {
  if (graphic_) graphic_->SaveToStream(stream);
}

void TPicture::LoadFromFile(const std::string& path) {
  TFileStream file(path, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TPicture::SaveToFile(const std::string& path) const {
  if (graphic_) graphic_->SaveToFile(path);
}

void TPicture::ReadData(TStream& stream) {
  std::uint8_t length = 0;
  stream.ReadBuffer(&length, 1);
  std::string name(length, '\0');
  stream.ReadBuffer(name.data(), length);
  auto graphic = CreateGraphic(name);
  if (!graphic) throw EInvalidGraphic("Unknown picture class " + name);
  graphic->ReadData(stream);
  Take(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) const {
  const std::string name = graphic_ ? graphic_->ClassName() : std::string();
  const auto length = static_cast<std::uint8_t>(name.size());
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(name.data(), length);
  if (graphic_) graphic_->WriteData(stream);
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) return SetGraphic(nullptr);
  if (const auto* picture = dynamic_cast<const TPicture*>(source)) return SetGraphic(picture->Graphic());
  if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) return SetGraphic(graphic);
  TPersistent::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) const {
  if (auto* graphic = dynamic_cast<TGraphic*>(dest); graphic && graphic_) {
    graphic->Assign(graphic_.get());
    return;
  }
  TPersistent::AssignTo(dest);
}

}  // namespace fw
