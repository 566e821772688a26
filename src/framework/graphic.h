#pragma once
// Pictures that draw themselves on a canvas and load from a stream: bitmaps, PNG and JPEG images.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/persistent.h"
#include "platform/base/geometry.h"
#include "platform/gdi/bitmap.h"

namespace fw {

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
  FW_DECLARE_CLASS

 public:
  static constexpr std::int64_t kMaxPictureFile = 256ll * 1024 * 1024;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetSize(int width, int height) = 0;
  void SetWidth(int width) { SetSize(width, Height()); }
  void SetHeight(int height) { SetSize(Width(), height); }
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool transparent);
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // EInvalidGraphic for bytes that are not a picture of the class's format.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  // The picture as a stored description's Data holds it; by default the file format.
  virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
  virtual void WriteData(TStream& stream) const { SaveToStream(stream); }

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  // Draws the picture into rect, stretched when the sizes differ.
  virtual void Draw(TCanvas& canvas, const plat::RECT& rect) = 0;
  virtual void Changed();
  // The rest of a stream as a picture file's bytes; EInvalidGraphic past kMaxPictureFile.
  static std::vector<std::uint8_t> ReadPictureBytes(TStream& stream);
  // A platform reader's result, its errors as EInvalidGraphic.
  using PictureReader = std::unique_ptr<plat::Bitmap> (*)(std::span<const std::uint8_t>);
  static std::unique_ptr<plat::Bitmap> DecodePicture(PictureReader reader, std::span<const std::uint8_t> bytes);

 private:
  bool transparent_ = false;
  bool modified_ = false;
};

}  // namespace fw
