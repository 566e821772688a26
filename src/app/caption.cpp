#include <cstdio>

#include "app/brightness.h"

namespace velmora {

std::string CaptionForLevels(int monitorLevel, int wmiLevel) {
  int level = monitorLevel;
  if (level < 0) {
    level = wmiLevel;
    // The service reports percentages that lose a point against the panel's raw steps.
    if (level > 0 && level % 5 != 0) ++level;
  }
  if (level < 0) return kNoBrightnessCaption;
  char text[32];
  std::snprintf(text, sizeof text, "輝度%d％", level);
  return text;
}

std::string ReadBrightnessCaption(bool* found) {
  const int monitor = GetBrightness();
  const int wmi = monitor < 0 ? GetWmiBrightness() : -1;
  if (found) *found = monitor >= 0 || wmi >= 0;
  return CaptionForLevels(monitor, wmi);
}

}  // namespace velmora
