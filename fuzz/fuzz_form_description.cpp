// Stored form descriptions from untrusted bytes: parsed, then applied to a root whose classes
// take properties of every kind. Every fault must be an EReadError (or another framework
// exception raised by a property); nothing may crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/collection.h"
#include "framework/font_brush_pen.h"
#include "framework/form_reader.h"
#include "framework/picture.h"
#include "framework/stored_properties.h"
#include "framework/strings.h"

namespace {

using namespace fw;

class FuzzItem : public TCollectionItem {
  FW_DECLARE_CLASS

 public:
  using TCollectionItem::TCollectionItem;
  void SetWidth(int) {}
};

const TMetaClass& FuzzItem::StaticClass() {
  static const TMetaClass meta("FuzzItem", &TCollectionItem::StaticClass(), nullptr,
                               Stored<FuzzItem>([](auto& b) { b.Integer("Width", &FuzzItem::SetWidth); }));
  return meta;
}

enum Kind { kA, kB };
constexpr TEnumValue kKinds[] = {{"kA", kA}, {"kB", kB}};
constexpr TEnumType kKindType{"Kind", kKinds};

class TFuzzControl : public TComponent {
  FW_DECLARE_CLASS

 public:
  using TComponent::TComponent;
  void SetCaption(const std::string&) {}
  void SetRatio(double) {}
  void SetVisible(bool) {}
  void SetKind(Kind) {}
  void SetKinds(TSet<Kind>) {}
  void SetOnClick(TNotifyEvent) {}
  void SetBuddy(TFuzzControl*) {}
  TFont* Font() { return &font_; }
  TStringList* Lines() { return &lines_; }
  TPicture* Picture() { return &picture_; }
  TOwnedCollection<FuzzItem>* Items() { return &items_; }

 private:
  TFont font_;
  TStringList lines_;
  TPicture picture_;
  TOwnedCollection<FuzzItem> items_{this};
};

const TMetaClass& TFuzzControl::StaticClass() {
  static const TMetaClass meta("TFuzzControl", &TComponent::StaticClass(), FactoryFor<TFuzzControl>(),
                               Stored<TFuzzControl>([](auto& b) {
                                 b.String("Caption", &TFuzzControl::SetCaption);
                                 b.Float("Ratio", &TFuzzControl::SetRatio);
                                 b.Boolean("Visible", &TFuzzControl::SetVisible);
                                 b.Enum("Kind", &TFuzzControl::SetKind, kKindType);
                                 b.Set("Kinds", &TFuzzControl::SetKinds, kKindType);
                                 b.Event("OnClick", &TFuzzControl::SetOnClick);
                                 b.Component("Buddy", &TFuzzControl::SetBuddy);
                                 b.Object("Font", &TFuzzControl::Font);
                                 b.Object("Lines", &TFuzzControl::Lines);
                                 b.Object("Picture", &TFuzzControl::Picture);
                                 b.Collection("Items", &TFuzzControl::Items);
                               }));
  return meta;
}

class TFuzzForm : public TComponent {
  FW_DECLARE_CLASS

 public:
  using TComponent::TComponent;
  void Clicked(TObject*) {}
};

const TMetaClass& TFuzzForm::StaticClass() {
  static const TMetaClass meta("TFuzzForm", &TComponent::StaticClass(), FactoryFor<TFuzzForm>(),
                               Stored<TFuzzForm>([](auto& b) { b.Handler("Clicked", &TFuzzForm::Clicked); }));
  return meta;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool registered = (RegisterClasses({&TFuzzControl::StaticClass(), &TComponent::StaticClass()}), true);
  (void)registered;
  TFuzzForm root(nullptr);
  try {
    ReadComponentFromText(root, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.form");
  } catch (const Exception&) {
    // A clear refusal is the expected outcome for most inputs.
  }
  return 0;
}
