#pragma once
// Parses a stored form description into its tree. The text has one object per component:
//
//   object MainForm: TMainForm          (or "inherited Name: TClass" for one that exists)
//     Caption = 'Velmora'               strings: '...' with '' for a quote, #NNN codes, + joins
//     Font.Height = -16                 integers (-16, $FF), numbers (1.5), dotted sub-objects
//     BorderIcons = [biSystemMenu]      sets; identifiers for enumerations, True/False, constants
//     OnShow = FormShow                 event handlers named by the root's method
//     Items.Strings = ('a' 'b')         string lists
//     Panels = <item Width = 50 end>    collections
//     Glyph.Data = {0A0B0C}             binary data
//     object Button1: TButton ... end   nested components
//   end
//
// Every fault raises EDescriptionError naming the label, the line and what is wrong.
#include <string>
#include <string_view>

#include "framework/form_tree.h"

namespace fw {

// Objects, collections and lists nest at most this deep.
inline constexpr int kMaxDescriptionDepth = 64;

TObjectNode ParseFormDescription(std::string_view text, const std::string& label);

}  // namespace fw
