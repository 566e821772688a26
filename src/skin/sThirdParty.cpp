#include "skin/sThirdParty.h"

#include <algorithm>
#include <utility>

#include "framework/stored_properties.h"

namespace velmora {

const std::array<const char*, kThirdKindCount> kThirdListNames = {
    "ThirdEdits",        "ThirdButtons",     "ThirdBitBtns",       "ThirdCheckBoxes", "ThirdComboBoxes",
    "ThirdGrids",        "ThirdGroupBoxes",  "ThirdListViews",     "ThirdPanels",     "ThirdTreeViews",
    "ThirdWWEdits",      "ThirdGridEh",      "ThirdVirtualTrees",  "ThirdPageControl", "ThirdTabControl",
    "ThirdToolBar",      "ThirdStatusBar",   "ThirdSpeedButton",   "ThirdScrollControl", "ThirdUpDown",
    "ThirdScrollBar",
};

namespace {

template <int... I>
void AddLists(auto& b, std::integer_sequence<int, I...>) {
  (b.String(kThirdListNames[I], &TacThirdPartyList::SetStored<I>), ...);
}

}  // namespace

const fw::TMetaClass& TacThirdPartyList::StaticClass() {
  static const fw::TMetaClass meta("ThirdPartyList", &fw::TPersistent::StaticClass(), nullptr,
                                   fw::Stored<TacThirdPartyList>([](auto& b) {
                                     AddLists(b, std::make_integer_sequence<int, kThirdKindCount>{});
                                   }));
  return meta;
}

TacThirdPartyList::TacThirdPartyList() { FillDefaults(); }

std::string TacThirdPartyList::DefaultList(TacThirdKind kind) { return kind == tpButton ? "TButton" : " "; }

void TacThirdPartyList::FillDefaults() {
  for (int i = 0; i < kThirdKindCount; ++i)
    if (lists_[i].empty()) lists_[i] = DefaultList(static_cast<TacThirdKind>(i));
}

void TacThirdLists::Parse(const TacThirdPartyList& source) {
  for (int i = 0; i < kThirdKindCount; ++i) {
    auto& names = names_[i];
    names.clear();
    const std::string& text = source.List(static_cast<TacThirdKind>(i));
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string name = text.substr(start, end - start);
      const auto first = name.find_first_not_of(' ');
      if (first != std::string::npos) names.push_back(name.substr(first, name.find_last_not_of(' ') - first + 1));
      start = end + 1;
    }
  }
}

bool TacThirdLists::Contains(TacThirdKind kind, std::string_view className) const {
  const auto& names = names_[kind];
  return std::find(names.begin(), names.end(), className) != names.end();
}

}  // namespace velmora
