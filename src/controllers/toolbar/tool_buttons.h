// The buttons of the two tool bars in bar order: the button's name (also its settings
// key), its entry in the configuration dialog, its icon and the command it runs by name
// ("" for a divider). A command placed with a button of its own (ui/placement.h) joins
// them after the button it names. Plain data; no widgets.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/setting_key.h"

namespace haruvi::ui { struct Placement; }

namespace haruvi::controllers::toolbar {

struct ToolButtonInfo {
  int bar;                  // 1 = ToolBar1 (main), 2 = ToolBar2 (text)
  std::string_view name;    // "ToolButton36"
  std::string_view entry;   // "印刷"; "" for a divider
  std::string_view icon;    // the icon's name (theme or the program's own)
  std::string_view action;  // the registry name it triggers; "" for a divider

  bool divider() const { return action.empty(); }
};

inline constexpr std::string_view kOwner = "toolbar";

// The bars' own buttons, ToolBar1's first.
const ToolButtonInfo* ToolButtons(std::size_t* count);
// Every button of both bars: the bars' own, each placed command's button after the one it
// names (one placed earlier included). A name no bar has throws std::logic_error.
std::vector<ToolButtonInfo> BarButtons(const std::vector<ui::Placement>& places);
// The visibility key of a button: section "ToolBar1" or "ToolBar2", named like it, default 1.
platform::BoolKey ButtonKey(const ToolButtonInfo& b);

}  // namespace haruvi::controllers::toolbar
