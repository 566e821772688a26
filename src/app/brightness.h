#pragma once
// The brightness of the primary display, by its two routes: the monitor's control channel
// (DDC/CI through the monitor-configuration functions) and the management service (built-in
// panels). Levels are percentages: 0 to 100 on the way in, scaled to a monitor's own range where
// its maximum is not 100, and read back as percentages; a negative read means "not read".
// User-interface thread only; each call finds the monitors or connects anew.
#include <string>

namespace velmora {

inline constexpr const char* kNoDisplayMessage = "ディスプレイが見つかりませんでした";
inline constexpr const char* kNoBrightnessCaption = "輝度情報を取得できません";

// Writes level to every physical monitor of the primary display; each monitor that refuses (or
// does not answer the read that comes first) is handed to SetWmiBrightness, once per refusing
// monitor. No monitor handle: a message box. applied, when given, tells whether any monitor or
// instance now has the level.
void SetBrightness(int level, bool* applied = nullptr);
// The first answering monitor's level as a percentage of its maximum (a value above the maximum
// counts as the maximum), or -1. No monitor handle: a message box, then -1.
int GetBrightness();
// The last instance's CurrentBrightness (0 to 255), or -1.
int GetWmiBrightness();
// Writes level to every brightness-method instance of the service; written, when given, tells
// whether any instance took it.
void SetWmiBrightness(int level, bool* written = nullptr);

// The window caption for a monitor reading and, used when that one is negative, a service
// reading. Only the service's figure is rounded up to the next step of 5 it falls just short of.
std::string CaptionForLevels(int monitorLevel, int wmiLevel);
// Reads the brightness by the monitor route, then, when that gives nothing, by the service, and
// answers the caption; found tells whether either route gave a level.
std::string ReadBrightnessCaption(bool* found = nullptr);

}  // namespace velmora
