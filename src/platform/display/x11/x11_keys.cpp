// X key symbols as the platform's virtual keys and characters.
#include "platform/base/keys.h"
#include "platform/display/x11/x11_internal.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

namespace plat::display {

namespace {

// Codes keys.h does not name, as the platform numbers them.
constexpr UINT kVkF13 = 0x7C;
constexpr UINT kVkOemSemicolon = 0xBA;  // ;:
constexpr UINT kVkOemPlus = 0xBB;       // =+
constexpr UINT kVkOemComma = 0xBC;
constexpr UINT kVkOemMinus = 0xBD;
constexpr UINT kVkOemPeriod = 0xBE;
constexpr UINT kVkOemSlash = 0xBF;      // /?
constexpr UINT kVkOemTilde = 0xC0;      // `~
constexpr UINT kVkOemOpen = 0xDB;       // [{
constexpr UINT kVkOemBackslash = 0xDC;  // \|
constexpr UINT kVkOemClose = 0xDD;      // ]}
constexpr UINT kVkOemQuote = 0xDE;      // '"
constexpr UINT kVkOem102 = 0xE2;        // the extra key of European keyboards
constexpr UINT kVkSeparator = 0x6C;
constexpr UINT kVkVolumeMute = 0xAD;
constexpr UINT kVkVolumeDown = 0xAE;
constexpr UINT kVkVolumeUp = 0xAF;

struct KeyPair {
  unsigned long keysym;
  UINT vk;
};

constexpr KeyPair kKeys[] = {
    {XK_BackSpace, VK_BACK},      {XK_Tab, VK_TAB},          {XK_ISO_Left_Tab, VK_TAB},
    {XK_Clear, VK_CLEAR},         {XK_Return, VK_RETURN},    {XK_KP_Enter, VK_RETURN},
    {XK_Pause, VK_PAUSE},         {XK_Scroll_Lock, VK_SCROLL}, {XK_Escape, VK_ESCAPE},
    {XK_Delete, VK_DELETE},       {XK_KP_Delete, VK_DELETE}, {XK_Home, VK_HOME},
    {XK_KP_Home, VK_HOME},        {XK_Left, VK_LEFT},        {XK_KP_Left, VK_LEFT},
    {XK_Up, VK_UP},               {XK_KP_Up, VK_UP},         {XK_Right, VK_RIGHT},
    {XK_KP_Right, VK_RIGHT},      {XK_Down, VK_DOWN},        {XK_KP_Down, VK_DOWN},
    {XK_Prior, VK_PRIOR},         {XK_KP_Prior, VK_PRIOR},   {XK_Next, VK_NEXT},
    {XK_KP_Next, VK_NEXT},        {XK_End, VK_END},          {XK_KP_End, VK_END},
    {XK_Insert, VK_INSERT},       {XK_KP_Insert, VK_INSERT}, {XK_KP_Begin, VK_CLEAR},
    {XK_Print, VK_SNAPSHOT},      {XK_Help, VK_HELP},        {XK_Menu, VK_APPS},
    {XK_Num_Lock, VK_NUMLOCK},    {XK_Caps_Lock, VK_CAPITAL}, {XK_space, VK_SPACE},
    {XK_KP_Space, VK_SPACE},      {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD},
    {XK_KP_Separator, kVkSeparator}, {XK_KP_Subtract, VK_SUBTRACT}, {XK_KP_Decimal, VK_DECIMAL},
    {XK_KP_Divide, VK_DIVIDE},    {XK_Shift_L, VK_SHIFT},    {XK_Shift_R, VK_SHIFT},
    {XK_Control_L, VK_CONTROL},   {XK_Control_R, VK_CONTROL}, {XK_Alt_L, VK_MENU},
    {XK_Alt_R, VK_MENU},          {XK_Meta_L, VK_MENU},      {XK_Meta_R, VK_MENU},
    {XK_ISO_Level3_Shift, VK_MENU}, {XK_Super_L, VK_LWIN},   {XK_Super_R, VK_RWIN},
    {XK_semicolon, kVkOemSemicolon}, {XK_colon, kVkOemSemicolon}, {XK_equal, kVkOemPlus},
    {XK_plus, kVkOemPlus},        {XK_comma, kVkOemComma},  
    {XK_minus, kVkOemMinus},      {XK_underscore, kVkOemMinus}, {XK_period, kVkOemPeriod},
    {XK_slash, kVkOemSlash},   {XK_question, kVkOemSlash},
    {XK_grave, kVkOemTilde},      {XK_asciitilde, kVkOemTilde}, {XK_bracketleft, kVkOemOpen},
    {XK_braceleft, kVkOemOpen},   {XK_backslash, kVkOemBackslash}, {XK_bar, kVkOemBackslash},
    {XK_bracketright, kVkOemClose}, {XK_braceright, kVkOemClose}, {XK_apostrophe, kVkOemQuote},
    {XK_quotedbl, kVkOemQuote},   {XK_less, kVkOem102},
    {XF86XK_AudioMute, kVkVolumeMute}, {XF86XK_AudioLowerVolume, kVkVolumeDown},
    {XF86XK_AudioRaiseVolume, kVkVolumeUp},
};

}  // namespace

UINT VirtualKeyOf(unsigned long keysym) {
  if (keysym >= XK_a && keysym <= XK_z) return static_cast<UINT>('A' + (keysym - XK_a));
  if (keysym >= XK_A && keysym <= XK_Z) return static_cast<UINT>('A' + (keysym - XK_A));
  if (keysym >= XK_0 && keysym <= XK_9) return static_cast<UINT>('0' + (keysym - XK_0));
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<UINT>(VK_NUMPAD0 + (keysym - XK_KP_0));
  if (keysym >= XK_F1 && keysym <= XK_F12) return static_cast<UINT>(VK_F1 + (keysym - XK_F1));
  if (keysym >= XK_F13 && keysym <= XK_F24) return static_cast<UINT>(kVkF13 + (keysym - XK_F13));
  for (const KeyPair& k : kKeys)
    if (k.keysym == keysym) return k.vk;
  return 0;
}

char32_t CharacterOfKeysym(unsigned long keysym) {
  // Latin-1 symbols are their code points; 0x01000000 + u stands for any other code point.
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return static_cast<char32_t>(keysym);
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return static_cast<char32_t>(keysym - 0x01000000);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<char32_t>('0' + (keysym - XK_KP_0));
  switch (keysym) {
    case XK_BackSpace: return 0x08;
    case XK_Tab:
    case XK_ISO_Left_Tab: return '\t';
    case XK_Return:
    case XK_KP_Enter: return '\r';
    case XK_Escape: return 0x1B;
    case XK_KP_Space: return ' ';
    case XK_KP_Multiply: return '*';
    case XK_KP_Add: return '+';
    case XK_KP_Subtract: return '-';
    case XK_KP_Decimal: return '.';
    case XK_KP_Divide: return '/';
    case XK_EuroSign: return 0x20AC;
    default: return 0;
  }
}

}  // namespace plat::display
