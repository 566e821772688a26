#include "framework/hint_window.h"

#include <algorithm>

#include "framework/application.h"

namespace fw {

namespace {
constexpr int kTextMarginX = 3;
constexpr int kTextMarginY = 1;
const TTextFormat kTextFormat{tfLeft, tfNoPrefix, tfWordBreak};
}  // namespace

std::string GetShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

const TMetaClass& THintWindow::StaticClass() {
  static const TMetaClass meta("THintWindow", &TCustomControl::StaticClass(), FactoryFor<THintWindow>());
  return meta;
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetVisible(false);
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = plat::WS_POPUP | plat::WS_BORDER;
  p.ExStyle = plat::WS_EX_TOOLWINDOW | plat::WS_EX_TOPMOST;
  p.WndParent = Application ? Application->Handle() : nullptr;
}

plat::RECT THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
  const plat::HDC dc = plat::CreateCompatibleDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.SetFont(*Font());
  plat::RECT r{0, 0, std::max(maxWidth, 1), 0};
  canvas.TextRect(r, hint, kTextFormat + TTextFormat{tfCalcRect});
  canvas.SetHandle(nullptr);
  plat::DeleteDC(dc);
  const int border = 2 * plat::GetSystemMetrics(plat::SM_CXBORDER);
  return {0, 0, r.right + 2 * kTextMarginX + border, r.bottom + 2 * kTextMarginY + border};
}

void THintWindow::ActivateHint(const plat::RECT& rect, const std::string& hint) {
  SetCaption(hint);
  const plat::RECT work = Screen ? Screen->WorkAreaRect() : rect;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int left = std::max(std::min(rect.left, work.right - width), work.left);
  const int top = std::max(std::min(rect.top, work.bottom - height), work.top);
  SetBounds(left, top, width, height);
  plat::SetWindowPos(Handle(), plat::HWND_TOPMOST, left, top, width, height,
                     plat::SWP_SHOWWINDOW | plat::SWP_NOACTIVATE);
  SetVisible(true);
  Invalidate();
  Update();
}

void THintWindow::ReleaseHint() { SetVisible(false); }

void THintWindow::Paint() {
  plat::RECT r = ClientRect();
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(r);
  r.left += kTextMarginX;
  r.top += kTextMarginY;
  r.right -= kTextMarginX;
  Canvas().SetFont(*Font());
  Canvas().Brush().SetStyle(bsClear);
  Canvas().TextRect(r, Caption(), kTextFormat);
}

}  // namespace fw
