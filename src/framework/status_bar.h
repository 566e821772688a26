#pragma once
// The status bar over the platform's "msctls_statusbar32": panels of text (or drawn by
// OnDrawPanel), a simple one-text mode and the size grip. Docked at the bottom by default.
#include "framework/collection.h"
#include "framework/win_control.h"

namespace fw {

class TStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
const TEnumType& StatusPanelStyleType();

class TStatusPanel : public TCollectionItem {
  FW_DECLARE_CLASS

 public:
  using TCollectionItem::TCollectionItem;
  const std::string& Text() const { return text_; }
  void SetText(const std::string& t);
  int Width() const { return width_; }
  void SetWidth(int w);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment a);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle s);

 private:
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelStyle style_ = psText;
};

class TStatusPanels : public TOwnedCollection<TStatusPanel> {
 public:
  explicit TStatusPanels(TStatusBar* bar);

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TStatusBar* bar_;
};

using TDrawPanelEvent = std::function<void(TStatusBar*, TStatusPanel*, const plat::RECT&)>;

class TStatusBar : public TWinControl {
  FW_DECLARE_CLASS

 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;

  TStatusPanels* Panels() const { return panels_.get(); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& t);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);
  TCanvas& Canvas() { return *canvas_; }
  TDrawPanelEvent OnDrawPanel;
  void SetOnDrawPanel(TDrawPanelEvent e) { OnDrawPanel = std::move(e); }

  // Hands the panels' widths and texts to the window.
  void UpdatePanels();
  void WndProc(TMessage& m) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  virtual void DrawPanel(TStatusPanel* panel, const plat::RECT& rect);

 private:
  std::unique_ptr<TStatusPanels> panels_;
  std::unique_ptr<TCanvas> canvas_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
};

}  // namespace fw
