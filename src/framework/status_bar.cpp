#include "framework/status_bar.h"

#include "framework/forms.h"
#include "framework/stored_properties.h"
#include "platform/wm/standard_controls.h"

namespace fw {

namespace {
constexpr TEnumValue kPanelStyles[] = {{"psText", psText}, {"psOwnerDraw", psOwnerDraw}};
}

const TEnumType& StatusPanelStyleType() {
  static const TEnumType t{"TStatusPanelStyle", kPanelStyles};
  return t;
}

const TMetaClass& TStatusPanel::StaticClass() {
  static const TMetaClass meta("TStatusPanel", &TCollectionItem::StaticClass(), nullptr,
                               Stored<TStatusPanel>([](auto& b) {
                                 b.String("Text", &TStatusPanel::SetText);
                                 b.Integer("Width", &TStatusPanel::SetWidth);
                                 b.Enum("Alignment", &TStatusPanel::SetAlignment, AlignmentType());
                                 b.Enum("Style", &TStatusPanel::SetStyle, StatusPanelStyleType());
                               }));
  return meta;
}

void TStatusPanel::SetText(const std::string& t) {
  if (t == text_) return;
  text_ = t;
  Changed(false);
}
void TStatusPanel::SetWidth(int w) {
  if (w == width_) return;
  width_ = w;
  Changed(true);
}
void TStatusPanel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  Changed(false);
}
void TStatusPanel::SetStyle(TStatusPanelStyle s) {
  if (s == style_) return;
  style_ = s;
  Changed(false);
}

TStatusPanels::TStatusPanels(TStatusBar* bar) : TOwnedCollection<TStatusPanel>(bar), bar_(bar) {}

void TStatusPanels::Update(TCollectionItem*) { bar_->UpdatePanels(); }

const TMetaClass& TStatusBar::StaticClass() {
  static const TMetaClass meta("TStatusBar", &TWinControl::StaticClass(), FactoryFor<TStatusBar>(),
                               Stored<TStatusBar>([](auto& b) {
                                 b.Collection("Panels", &TStatusBar::Panels);
                                 b.Boolean("SimplePanel", &TStatusBar::SetSimplePanel);
                                 b.String("SimpleText", &TStatusBar::SetSimpleText);
                                 b.Boolean("SizeGrip", &TStatusBar::SetSizeGrip);
                                 b.Event("OnDrawPanel", &TStatusBar::SetOnDrawPanel);
                               }));
  return meta;
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)), canvas_(std::make_unique<TCanvas>()) {
  SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetColor(clBtnFace);
  SetBounds(0, 0, 0, 19);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, plat::STATUSCLASSNAME);
  // The framework places the bar (Align), not the platform.
  p.Style |= plat::CCS_NOPARENTALIGN | plat::CCS_NORESIZE;
  const TCustomForm* form = GetParentForm(this);
  if (sizeGrip_ && form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin))
    p.Style |= plat::SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdatePanels();
}

void TStatusBar::UpdatePanels() {
  if (!HandleAllocated()) return;
  plat::HWND h = Handle();
  plat::SendMessage(h, plat::SB_SIMPLE, simplePanel_ ? 1 : 0, 0);
  if (simplePanel_) {
    plat::SendMessage(h, plat::SB_SETTEXT, plat::SB_SIMPLEID, reinterpret_cast<plat::LPARAM>(simpleText_.c_str()));
    return;
  }
  const int count = std::min(panels_->Count(), plat::SB_MAXPARTS);
  std::vector<int> edges;
  int edge = 0;
  for (int i = 0; i < count; ++i) {
    edge += panels_->Items(i)->Width();
    edges.push_back(i == count - 1 ? -1 : edge);
  }
  if (edges.empty()) edges.push_back(-1);
  plat::SendMessage(h, plat::SB_SETPARTS, edges.size(), reinterpret_cast<plat::LPARAM>(edges.data()));
  for (int i = 0; i < count; ++i) {
    TStatusPanel* p = panels_->Items(i);
    // A tab before the text centres it, two align it right.
    std::string text = p->Alignment() == taCenter ? "\t" + p->Text()
                       : p->Alignment() == taRightJustify ? "\t\t" + p->Text()
                                                           : p->Text();
    plat::WPARAM wp = static_cast<plat::WPARAM>(i) | (p->Style() == psOwnerDraw ? plat::SBT_OWNERDRAW : 0);
    plat::SendMessage(h, plat::SB_SETTEXT, wp, reinterpret_cast<plat::LPARAM>(text.c_str()));
  }
}

void TStatusBar::SetSimplePanel(bool v) {
  if (v == simplePanel_) return;
  simplePanel_ = v;
  UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& t) {
  simpleText_ = t;
  if (simplePanel_) UpdatePanels();
}

void TStatusBar::SetSizeGrip(bool v) {
  if (v == sizeGrip_) return;
  sizeGrip_ = v;
  RecreateWnd();
}

void TStatusBar::DrawPanel(TStatusPanel* panel, const plat::RECT& rect) {
  if (OnDrawPanel) {
    OnDrawPanel(this, panel, rect);
  } else {
    canvas_->Brush().SetColor(Color());
    canvas_->FillRect(rect);
  }
}

void TStatusBar::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    const auto* dis = reinterpret_cast<const plat::DRAWITEMSTRUCT*>(m.LParam);
    const int index = static_cast<int>(dis->itemID);
    canvas_->Lock();
    canvas_->SetHandle(dis->hDC);
    canvas_->SetFont(*Font());
    canvas_->Brush().SetColor(Color());
    if (index >= 0 && index < panels_->Count()) DrawPanel(panels_->Items(index), dis->rcItem);
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace fw
