#include "test_components.h"

#include "framework/stored_properties.h"
#include "framework/streams.h"

namespace fw::test {

namespace {
constexpr TEnumValue kMoods[] = {{"mdCalm", mdCalm}, {"mdBusy", mdBusy}, {"mdSleepy", mdSleepy}};
constexpr TEnumType kMoodType{"TTestMood", kMoods};
}  // namespace

const TMetaClass& TTestItem::StaticClass() {
  static const TMetaClass meta("TTestItem", &TCollectionItem::StaticClass(), nullptr, Stored<TTestItem>([](auto& b) {
    b.Integer("Width", &TTestItem::SetWidth);
    b.String("Text", &TTestItem::SetText);
  }));
  return meta;
}

const TMetaClass& TTestEffect::StaticClass() {
  static const TMetaClass meta("TTestEffect", &TPersistent::StaticClass(), nullptr,
                               Stored<TTestEffect>([](auto& b) { b.Integer("Time", &TTestEffect::SetTime); }));
  return meta;
}

const TMetaClass& TTestEffects::StaticClass() {
  static const TMetaClass meta("TTestEffects", &TPersistent::StaticClass(), nullptr,
                               Stored<TTestEffects>([](auto& b) { b.Object("FormShow", &TTestEffects::FormShow); }));
  return meta;
}

const TMetaClass& TTestWidget::StaticClass() {
  static const TMetaClass meta("TTestWidget", &TComponent::StaticClass(), FactoryFor<TTestWidget>(),
                               Stored<TTestWidget>([](auto& b) {
                                 b.Integer("Left", &TTestWidget::SetLeft);
                                 b.Integer("Top", &TTestWidget::SetTop);
                                 b.Integer("Small", &TTestWidget::SetSmall);
                                 b.Float("Ratio", &TTestWidget::SetRatio);
                                 b.Boolean("Enabled", &TTestWidget::SetEnabled);
                                 b.String("Caption", &TTestWidget::SetCaption);
                                 b.Enum("Mood", &TTestWidget::SetMood, kMoodType);
                                 b.Set("Moods", &TTestWidget::SetMoods, kMoodType);
                                 b.Integer("Color", &TTestWidget::SetColor, &ColorIdents());
                                 b.Object("Font", &TTestWidget::Font);
                                 b.Object("Effects", &TTestWidget::Effects);
                                 b.Collection("Items", &TTestWidget::Items);
                                 b.Object("Lines", &TTestWidget::Lines);
                                 b.Binary("Data", &TTestWidget::ReadData);
                                 b.Event("OnClick", &TTestWidget::SetOnClick);
                                 b.Component("Buddy", &TTestWidget::SetBuddy);
                               }));
  return meta;
}

std::vector<std::string>& TTestWidget::LoadedLog() {
  static std::vector<std::string> log;
  return log;
}

void TTestWidget::ReadData(TStream& stream) { data = stream.ReadRemaining(); }

void TTestWidget::Loaded() {
  LoadedLog().push_back(Name());
  loadedSawBuddy = buddy != nullptr;
  loadedWhileLoading = ComponentState().Contains(csLoading);
  loadedWhileReading = ComponentState().Contains(csReading);
  TComponent::Loaded();
}

const TMetaClass& TTestOther::StaticClass() {
  static const TMetaClass meta("TTestOther", &TComponent::StaticClass(), FactoryFor<TTestOther>());
  return meta;
}

const TMetaClass& TTestRoot::StaticClass() {
  static const TMetaClass meta("TTestRoot", &TComponent::StaticClass(), FactoryFor<TTestRoot>(),
                               Stored<TTestRoot>([](auto& b) {
                                 b.Handler("WidgetClick", &TTestRoot::WidgetClick);
                                 b.Handler("KeyUp", &TTestRoot::KeyUp);
                                 b.Field("Widget1", &TTestRoot::Widget1);
                               }));
  return meta;
}

void TTestRoot::Loaded() {
  TTestWidget::LoadedLog().push_back(Name());
  TComponent::Loaded();
}

void RegisterTestClasses() { RegisterClasses({&TTestWidget::StaticClass(), &TTestOther::StaticClass()}); }

}  // namespace fw::test
