#pragma once
// The lists of plain control classes the skin adapters take on, one per kind of control: each
// a string of class names separated by line breaks. An empty list takes its default again, so a
// list is emptied by giving it a blank.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "framework/persistent.h"

namespace velmora {

enum TacThirdKind {
  tpEdit, tpButton, tpBitBtn, tpCheckBox, tpComboBox, tpGrid, tpGroupBox, tpListView, tpPanel, tpTreeView,
  tpWWEdit, tpGridEh, tpVirtualTree, tpPageControl, tpTabControl, tpToolBar, tpStatusBar, tpSpeedButton,
  tpScrollControl, tpUpDown, tpScrollBar,
};
inline constexpr int kThirdKindCount = tpScrollBar + 1;

// The stored names of the lists, in their order.
extern const std::array<const char*, kThirdKindCount> kThirdListNames;

class TacThirdPartyList : public fw::TPersistent {
  FW_DECLARE_CLASS

 public:
  TacThirdPartyList();
  const std::string& List(TacThirdKind kind) const { return lists_[kind]; }
  void SetList(TacThirdKind kind, std::string value) { lists_[kind] = std::move(value); }
  template <int I>
  void SetStored(const std::string& value) {
    lists_[I] = value;
  }
  // Empty lists take their defaults.
  void FillDefaults();
  static std::string DefaultList(TacThirdKind kind);

 private:
  std::array<std::string, kThirdKindCount> lists_;
};

// The parsed lists, exact names (case matters).
class TacThirdLists {
 public:
  void Parse(const TacThirdPartyList& source);
  bool Contains(TacThirdKind kind, std::string_view className) const;
  const std::vector<std::string>& Names(TacThirdKind kind) const { return names_[kind]; }

 private:
  std::array<std::vector<std::string>, kThirdKindCount> names_;
};

}  // namespace velmora
