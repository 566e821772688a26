#pragma once
// Components for description tests: a widget with a stored property of every kind and a root
// with handlers and a field. Each records what the reader did to it.
#include <string>
#include <vector>

#include "framework/collection.h"
#include "framework/component.h"
#include "framework/font_brush_pen.h"
#include "framework/strings.h"

namespace fw::test {

enum TTestMood { mdCalm, mdBusy, mdSleepy };
using TTestMoods = TSet<TTestMood>;

class TTestItem : public TCollectionItem {
  FW_DECLARE_CLASS

 public:
  using TCollectionItem::TCollectionItem;
  void SetWidth(int w) { width = w; }
  void SetText(const std::string& t) { text = t; }
  int width = 0;
  std::string text;
};

// Two levels of nested objects, as in AnimEffects.FormShow.Time.
class TTestEffect : public TPersistent {
  FW_DECLARE_CLASS

 public:
  void SetTime(int t) { time = t; }
  int time = 0;
};

class TTestEffects : public TPersistent {
  FW_DECLARE_CLASS

 public:
  TTestEffect* FormShow() { return &formShow; }
  TTestEffect formShow;
};

class TTestWidget : public TComponent {
  FW_DECLARE_CLASS

 public:
  using TComponent::TComponent;

  void SetLeft(int v) { left = v; }
  void SetTop(int v) { top = v; }
  void SetSmall(short v) { small = v; }
  void SetRatio(double v) { ratio = v; }
  void SetEnabled(bool v) { enabled = v; }
  void SetCaption(const std::string& v) { caption = v; }
  void SetMood(TTestMood v) { mood = v; }
  void SetMoods(TTestMoods v) { moods = v; }
  void SetColor(TColor v) { color = v; }
  void SetOnClick(TNotifyEvent e) { onClick = std::move(e); }
  void SetBuddy(TTestWidget* w) { buddy = w; }
  void ReadData(TStream& stream);
  TFont* Font() { return &font; }
  TTestEffects* Effects() { return &effects; }
  TOwnedCollection<TTestItem>* Items() { return &items; }
  TStringList* Lines() { return &lines; }

  void SetParentComponent(TComponent* parent) override { parentComponent = parent; }

  int left = 0, top = 0;
  short small = 0;
  double ratio = 0;
  bool enabled = false;
  std::string caption;
  TTestMood mood = mdCalm;
  TTestMoods moods;
  TColor color = clNone;
  TFont font;
  TTestEffects effects;
  TOwnedCollection<TTestItem> items{this};
  TStringList lines;
  std::vector<std::uint8_t> data;
  TNotifyEvent onClick;
  TTestWidget* buddy = nullptr;
  TComponent* parentComponent = nullptr;
  // What Loaded saw: the buddy already resolved, still loading, no longer reading.
  bool loadedSawBuddy = false;
  bool loadedWhileLoading = false;
  bool loadedWhileReading = false;

  static std::vector<std::string>& LoadedLog();

 protected:
  void Loaded() override;
};

class TTestOther : public TComponent {
  FW_DECLARE_CLASS

 public:
  using TComponent::TComponent;
};

class TTestRoot : public TComponent {
  FW_DECLARE_CLASS

 public:
  using TComponent::TComponent;
  void WidgetClick(TObject* sender) {
    ++clicks;
    lastSender = sender;
  }
  void KeyUp(TObject*, int& key) { key = 0; }

  TTestWidget* Widget1 = nullptr;
  int clicks = 0;
  TObject* lastSender = nullptr;

 protected:
  void Loaded() override;
};

// Registers the classes above once.
void RegisterTestClasses();

}  // namespace fw::test
