#pragma once
// A picture of any graphic class, chosen by what it loads: BMP, PNG or JPEG, told apart by the
// file's signature. Assigning copies; the picture owns its graphic.
#include <memory>
#include <string>

#include "framework/graphic.h"

namespace fw {

class TBitmap;

class TPicture : public TPersistent {
  FW_DECLARE_CLASS

 public:
  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // A copy of graphic (nullptr empties the picture).
  void SetGraphic(const TGraphic* graphic);
  // The picture as a bitmap; a picture of another kind is replaced by an empty bitmap.
  TBitmap* Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // EInvalidGraphic for bytes of no known format.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;
  // Data in descriptions: the graphic's class name (a length byte, then the name), then the
  // graphic's own data.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;

  void Assign(const TPersistent* source) override;

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* dest) const override;

 private:
  void Take(std::unique_ptr<TGraphic> graphic);
  void Changed();

  std::unique_ptr<TGraphic> graphic_;
};

// The graphic classes pictures know, by name ("TPngImage"); nullptr for another.
std::unique_ptr<TGraphic> CreateGraphic(std::string_view className);

}  // namespace fw
