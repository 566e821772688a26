// Bringing a control's cached picture to the screen, and finding the section whose font colour
// text over a transparent control takes.
#include <algorithm>

#include "controls/sCommonData.h"
#include "framework/win_control.h"
#include "paint/section_lookup.h"
#include "paint/sections.h"
#include "skin/sMessages.h"
#include "skin/sSkinManagerComponent.h"

namespace velmora {

namespace {

constexpr int kAllCorners = kCornerTopLeft | kCornerBottomLeft | kCornerTopRight | kCornerBottomRight;
constexpr plat::DWORD kGroupBoxStyle = 0x0007;

plat::RECT Moved(plat::RECT r, plat::POINT by) {
  plat::OffsetRect(&r, by.x, by.y);
  return r;
}

void Exclude(plat::HDC dc, const plat::RECT& r) { plat::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom); }

// Clips dc to target, lets exclude take out what must not be painted over, copies the picture.
template <class F>
void CopyClipped(TsCommonData* skinData, const plat::RECT& source, plat::HDC dc, const plat::RECT& target,
                 bool updateCorners, F&& exclude) {
  if (!skinData || !skinData->FCacheBmp || !dc) return;
  if (updateCorners) RefreshCorners(*skinData, 0, kAllCorners);
  const plat::HDC cache = skinData->FCacheBmp->Canvas().Handle();
  if (!cache) return;
  const int saved = plat::SaveDC(dc);
  plat::IntersectClipRect(dc, target.left, target.top, target.right, target.bottom);
  exclude();
  plat::BitBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, cache,
               source.left, source.top, plat::SRCCOPY);
  plat::RestoreDC(dc, saved);
}

bool IsSplitter(const fw::TControl* control) { return control->ClassName().find("Splitter") != std::string::npos; }

// The published skin state of a control (its SkinData property), null without one.
TsCommonData* PublishedSkinData(fw::TControl* control) {
  const fw::TPropertyInfo* property = control->ClassType().FindProperty("SkinData");
  if (!property || !property->subObject) return nullptr;
  return dynamic_cast<TsCommonData*>(property->subObject(*control));
}

}  // namespace

void CopyCacheToDC(fw::TControl* control, TsCommonData* skinData, const plat::RECT& source, plat::POINT offset,
                   bool updateCorners, plat::HDC dc, const plat::RECT& target) {
  CopyClipped(skinData, source, dc, target, updateCorners, [&] {
    auto* container = dynamic_cast<fw::TWinControl*>(control);
    if (!container) return;
    for (int i = 0; i < container->ControlCount(); ++i) {
      fw::TControl* child = container->Controls(i);
      if (!child->Visible() || IsSplitter(child)) continue;
      const bool windowed = dynamic_cast<fw::TWinControl*>(child) != nullptr;
      if (windowed && !child->ControlStyle().Contains(fw::csOpaque)) continue;
      const plat::RECT r = Moved(child->BoundsRect(), offset);
      plat::RECT common{};
      if (plat::IntersectRect(&common, &r, &target)) Exclude(dc, r);
    }
  });
}

void CopyCacheToWindowDC(plat::HWND window, TsCommonData* skinData, const plat::RECT& source, plat::POINT offset,
                         bool updateCorners, plat::HDC dc, const plat::RECT& target) {
  CopyClipped(skinData, source, dc, target, updateCorners, [&] {
    if (!window) return;
    // The frame margins of a group box: the skin's "GROUPBOX" border, read once.
    plat::RECT groupMargins{};
    if (TsSkinManager* manager = skinData->SkinManager()) {
      const TacSkinIndex& skin = manager->Index();
      const int section = skin.GetSkinIndex("GROUPBOX");
      if (ValidSection(&skin, section)) {
        const int border = skin.gd[static_cast<std::size_t>(section)].BorderIndex;
        if (ValidMask(&skin, border)) {
          const TsMaskData& mask = skin.ma[static_cast<std::size_t>(border)];
          groupMargins = {mask.WL, mask.WT, mask.WR, mask.WB};
        }
      }
    }
    struct Walk {
      plat::HWND parent;
      plat::HDC dc;
      plat::POINT offset;
      plat::RECT margins;
    } walk{window, dc, offset, groupMargins};
    plat::EnumChildWindows(
        window,
        [](plat::HWND child, plat::LPARAM data) -> plat::BOOL {
          auto* w = reinterpret_cast<Walk*>(data);
          if (plat::GetParent(child) != w->parent || !plat::IsWindowVisible(child)) return plat::TRUE;
          plat::RECT r{};
          plat::GetWindowRect(child, &r);
          plat::POINT corner{r.left, r.top};
          plat::ScreenToClient(w->parent, &corner);
          r = Moved({corner.x, corner.y, corner.x + r.right - r.left, corner.y + r.bottom - r.top}, w->offset);
          const auto style = static_cast<plat::DWORD>(plat::GetWindowLong(child, plat::GWL_STYLE));
          const auto exStyle = static_cast<plat::DWORD>(plat::GetWindowLong(child, plat::GWL_EXSTYLE));
          if ((style & 0x000F) != kGroupBoxStyle || (exStyle & plat::WS_EX_TRANSPARENT)) {
            Exclude(w->dc, r);
            return plat::TRUE;
          }
          // Only the frame of a group box is its own: the picture shows through its middle.
          const int height = r.bottom - r.top;
          const auto answer = plat::SendMessage(child, SkinCommandMessage, SkinParam(scGetSkinManager), 0);
          const int caption = static_cast<int>(std::clamp<plat::LRESULT>(answer, 0, height));
          Exclude(w->dc, {r.left, r.top, r.right, r.top + caption});
          Exclude(w->dc, {r.left, r.top, r.left + w->margins.left, r.bottom});
          Exclude(w->dc, {r.right - w->margins.right, r.top, r.right, r.bottom});
          Exclude(w->dc, {r.left, r.bottom - w->margins.bottom, r.right, r.bottom});
          return plat::TRUE;
        },
        reinterpret_cast<plat::LPARAM>(&walk));
  });
}

int FontSectionIndex(fw::TControl* control, int defaultIndex, TsSkinManager* manager, int state) {
  if (!manager) manager = DefaultManager();
  if (!manager) return defaultIndex;
  const TacSkinIndex& skin = manager->Index();
  // A section that is mostly see-through hands the question on to its own parent.
  auto passesThrough = [&](int index) {
    const TsGeneralData& section = skin.gd[static_cast<std::size_t>(index)];
    const int s = std::clamp(std::min(state, 1), 0, std::max(section.States - 1, 0));
    if (section.Props[static_cast<std::size_t>(s)].Transparency < 51) return false;
    return !(ValidMask(&skin, section.BorderIndex) && (skin.ma[static_cast<std::size_t>(section.BorderIndex)].DrawMode & 4));
  };
  auto answer = [&](int index) { return skin.gd[static_cast<std::size_t>(index)].GiveOwnFont ? index : defaultIndex; };
  while (control && control->Parent()) {
    fw::TWinControl* parent = control->Parent();
    int index = -1;
    if (TsCommonData* data = PublishedSkinData(parent)) {
      index = data->SkinIndex;
    } else if (parent->HandleAllocated()) {
      TacSectionInfo info;
      plat::SendMessage(parent->Handle(), SkinCommandMessage, SkinParam(scGetSkinIndex),
                        reinterpret_cast<plat::LPARAM>(&info));
      index = info.SkinIndex;
    }
    if (!ValidSection(&skin, index)) return defaultIndex;
    if (!passesThrough(index)) return answer(index);
    control = parent;
  }
  return defaultIndex;
}

int TsCommonData::ParentFontSection() {
  return FOwnerControl ? FontSectionIndex(FOwnerControl, -1, SkinManager(), 0) : -1;
}

}  // namespace velmora
