#pragma once
// Which style of the common dialogs (open, save, colour, font, folder) the framework asks the
// platform for. On: the newest. Off: the older dialogs, built from the standard dialog class,
// which a window hook can restyle like any other window. Process-wide, on the UI thread only.

namespace fw {

inline bool UseLatestCommonDialogs = true;

}  // namespace fw
