#include "skin/sStyleSimply.h"

#include <algorithm>

#include "framework/sysutils.h"
#include "skin/sSkinManagerIni.h"

namespace velmora {

namespace {

constexpr int kMaxFrames = 100;
constexpr int kMaxWidth = 9999;

[[noreturn]] void Fail(std::string_view where, const std::string& what) {
  throw ESkinDescriptionError(std::string(where) + ": " + what);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t at = text.find(separator);
    fields.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return fields;
    text.remove_prefix(at + 1);
  }
}

// A fixed-width decimal field at 1-based position from.
int Digits(std::string_view value, std::size_t from, std::size_t length, std::string_view where) {
  const std::string_view field = value.substr(from - 1, length);
  if (field.size() != length || !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
    Fail(where, "mask field " + fw::DoubleQuoted(field) + " at position " + fw::IntToStr(static_cast<std::int64_t>(from)) +
                    " of " + fw::DoubleQuoted(value) + " is not a number");
  int v = 0;
  for (char c : field) v = v * 10 + (c - '0');
  return v;
}

int Field(std::string_view text, int low, int high, std::string_view what, std::string_view where) {
  int v = 0;
  if (!TryParseIniInt(text, v)) Fail(where, std::string(what) + " " + fw::DoubleQuoted(text) + " is not a number");
  if (v < low || v > high)
    Fail(where, std::string(what) + " " + fw::IntToStr(v) + " is outside " + fw::IntToStr(low) + ".." + fw::IntToStr(high));
  return v;
}

void ReadRect(std::string_view value, TsMaskData& m, std::string_view where) {
  m.R = {Digits(value, 2, 4, where), Digits(value, 7, 4, where), Digits(value, 12, 4, where), Digits(value, 17, 4, where)};
  if (m.R.right < m.R.left || m.R.bottom < m.R.top) Fail(where, "mask " + fw::DoubleQuoted(value) + " has an inverted rectangle");
}

void CheckFrames(std::string_view value, const TsMaskData& m, std::string_view where) {
  if (m.ImageCount < 1) Fail(where, "mask " + fw::DoubleQuoted(value) + " has no image frames");
}

}  // namespace

TsGradArray ParseGradient(std::string_view text, std::string_view where) {
  TsGradArray result;
  if (text.size() < 2 || text == "N/A") return result;
  const std::vector<std::string_view> f = Split(text, ';');
  for (std::size_t i = 0; i + 5 <= f.size(); i += 5) {
    int v[4];
    for (int k = 0; k < 4; ++k)
      if (!TryParseIniInt(f[i + static_cast<std::size_t>(k)], v[k]))
        Fail(where, "gradient field " + fw::DoubleQuoted(f[i + static_cast<std::size_t>(k)]) + " is not a number");
    result.push_back({std::max(v[0], 0), std::max(v[1], 0), std::clamp(v[2], 0, 100), v[3], 0});
  }
  return result;
}

bool ParseBitmapMask(std::string_view value, TsMaskData& m, std::string_view where) {
  if (value.empty()) return false;
  switch (value.front()) {
    case '^':
      if (value.size() < 48) Fail(where, "border mask " + fw::DoubleQuoted(value) + " is shorter than 48 characters");
      ReadRect(value, m, where);
      m.WL = Digits(value, 22, 4, where);
      m.WT = Digits(value, 27, 4, where);
      m.WR = Digits(value, 32, 4, where);
      m.WB = Digits(value, 37, 4, where);
      m.ImageCount = Digits(value, 42, 1, where);
      m.MaskType = Digits(value, 44, 1, where);
      m.DrawMode = Digits(value, 46, 1, where);
      m.BorderWidth = Digits(value, 48, 1, where);
      m.ImgType = itisaBorder;
      break;
    case '@':
      if (value.size() < 24) Fail(where, "glyph mask " + fw::DoubleQuoted(value) + " is shorter than 24 characters");
      ReadRect(value, m, where);
      m.ImageCount = Digits(value, 22, 1, where);
      m.MaskType = Digits(value, 24, 1, where);
      m.ImgType = itisaGlyph;
      break;
    case '~':
      if (value.size() < 23) Fail(where, "texture " + fw::DoubleQuoted(value) + " is shorter than 23 characters");
      ReadRect(value, m, where);
      m.ImageCount = 1;
      m.DrawMode = Digits(value, 22, 2, where);
      m.MaskType = value.size() >= 25 ? Digits(value, 25, 1, where) : 0;
      m.ImgType = itisaTexture;
      break;
    default:
      return false;
  }
  CheckFrames(value, m, where);
  return true;
}

TacExternalMask ParseExternalMask(std::string_view value, std::string_view where) {
  TacExternalMask e;
  const std::vector<std::string_view> f = Split(value.substr(1), '!');
  e.Name = fw::UpperCase(f[0]);
  if (f.size() > 1) e.ImageCount = Field(f[1], 1, kMaxFrames, "image count", where);
  if (f.size() > 2) e.MaskType = Field(f[2], 0, kMaxFrames, "mask type", where);
  if (f.size() > 3) e.ImageType = Field(f[3], 0, 0xFFFF, "image type", where);
  e.HasWidths = f.size() >= 5;
  int* widths[4] = {&e.WL, &e.WT, &e.WR, &e.WB};
  for (std::size_t i = 0; i < 4; ++i)
    if (f.size() > 4 + i) *widths[i] = Field(f[4 + i], 0, kMaxWidth, "border width", where);
  if (f.size() > 8) e.DrawMode = Field(f[8], 0, 0xFFFF, "draw mode", where);
  return e;
}

void ComputeBorderWidths(TsMaskData& m) {
  m.WL = m.ImageCount > 0 ? (m.R.right - m.R.left) / (m.ImageCount * 3) : 0;
  m.WT = (m.R.bottom - m.R.top) / ((m.MaskType + 1) * 3);
  m.WR = m.WL;
  m.WB = m.WT;
}

}  // namespace velmora
