#pragma once
// The skin command message: how the skin manager, window skin providers and skinned controls
// talk. The command travels in the high word of the first parameter, a small argument in the
// low word; the second parameter is the sender, a record to fill or a value; the result answers.
#include <functional>
#include <vector>

#include "framework/forms.h"

namespace velmora {

// In the application's private range; a fixed number so that every module agrees without
// registering it.
inline constexpr plat::UINT SkinCommandMessage = 0xA100;

enum TSkinCommand : plat::WORD {
  scNewSkin = 1,
  scRemoveSkin = 2,
  scRefresh = 3,
  scGetProvider = 4,
  scEndParentUpdate = 6,
  scIsHandled = 7,
  scSetUpdating = 8,
  scSetUrgentPainting = 9,
  scIsChanged = 10,
  scIsHalfVisible = 11,
  scSectionChanged = 13,
  scSetSection = 15,
  scPrepareRepaint = 16,
  scBackgroundChanged = 17,
  scSizeMoveEnded = 18,
  scNeedsParentBackground = 19,
  scMoved = 20,
  scGetBackgroundColor = 21,
  scSetHalfVisible = 22,
  scBackgroundDone = 23,
  scDropRegion = 24,
  scQueryParent = 25,
  scGetSkinIndex = 26,
  scGetSkinManager = 27,
  scMouseEnter = 29,
  scMouseLeave = 30,
  scBeginUpdate = 31,
  scEndUpdate = 32,
  scClearCache = 33,
  scGetBackgroundInfo = 34,
  scControlState = 36,
  scGetCommonData = 37,
  scSetPrintDC = 38,
  scStopRedraw = 51,
  scResumeRedraw = 52,
  scGetApplication = 60,
  scGetClientOffset = 61,
  scRepaintCaption = 62,
};

constexpr plat::WPARAM SkinParam(plat::WORD command, plat::WORD argument = 0) {
  return (static_cast<plat::WPARAM>(command) << 16) | argument;
}
constexpr plat::WORD SkinCommandOf(plat::WPARAM wp) { return static_cast<plat::WORD>((wp >> 16) & 0xFFFF); }
constexpr plat::WORD SkinArgumentOf(plat::WPARAM wp) { return static_cast<plat::WORD>(wp & 0xFFFF); }

// A skin command message with argument 0.
fw::TMessage MakeSkinMessage(plat::WORD command, plat::LPARAM value = 0);

// A graphic control gets it by direct dispatch; a windowed one without a window, or being
// destroyed, gets nothing (0).
plat::LRESULT SendSkinCommand(fw::TControl* control, plat::WORD command, plat::LPARAM value = 0);
// True when the window answers exactly 1; IsSkinCommandTrue(w, scIsHandled) tells "skinned".
bool IsSkinCommandTrue(plat::HWND window, plat::WORD command);

// Children in order, stopping at the first being destroyed; a skinned windowed child passes the
// message on itself, an unskinned one is walked into.
void BroadcastToControls(fw::TWinControl* container, fw::TMessage& message);
// Direct child windows only; every one of them, whatever they answer.
void BroadcastToChildWindows(plat::HWND window, fw::TMessage& message);
// The application's unskinned forms (last first), then the forms with a provider, then the
// visible windows of the providers the skin manager's hook created.
void BroadcastToForms(fw::TMessage& message);

// Set by other units: a windowed control the walk must not descend into.
using TBroadcastFilter = std::function<bool(fw::TWinControl*)>;
void SetBroadcastFilter(TBroadcastFilter filter);

// Forms that carry a skin provider, in the order they got one; kept by the providers.
std::vector<fw::TCustomForm*>& SkinnedForms();
// Windows of the providers created by the skin manager's hook.
std::vector<plat::HWND>& HookProviderWindows();

}  // namespace velmora
