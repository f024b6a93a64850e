// The keys of the settings file in one table: section, key, type, default and read rule.
// iniload/inisave and the dialogs that own a section take their names from here, so a
// key is spelled once; ReadSetting/WriteSetting check that the key is in the table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

namespace haruvi::app::settings {

enum class Type { Integer, Boolean, String, Color, FontStyle };

// How a value read at start is checked against the window (the window applies it).
enum class Rule {
  None,
  ScreenLeft,    // below 0 or above the screen width gives 0
  ScreenTop,     // below 0 or above the screen height gives 0
  ScreenWidth,   // below 0 or above the screen width gives the screen width
  ScreenHeight,  // below 0 or above the screen height gives the screen height
  KeepIfOutside, // below 0 or above the limit keeps the current value
  IconStyle,     // 1 to 4, anything else 3
  ColumnWidth,   // at least -2, else the current value
  StyleBits,     // 0 to 255, else the default
  Informational, // written at close, never read
};

struct Key {
  std::string_view section;
  std::string_view key;
  Type type;
  std::string_view def;  // "" for "current value" defaults of strings, else the default text
  bool current_default;  // the default is the value in effect before the read
  Rule rule;
};

// Every key read at start and written at close, in the order iniload reads them,
// followed by the informational keys inisave writes and the command-owned keys.
std::span<const Key> AllKeys();
// The table entry, or nullptr when the pair is not a known key.
const Key* Find(std::string_view section, std::string_view key);

// The clamping rules of the start-up keys, as pure functions of the limits.
std::int32_t ClampLeft(std::int32_t v, std::int32_t screen_width);
std::int32_t ClampTop(std::int32_t v, std::int32_t screen_height);
std::int32_t ClampExtent(std::int32_t v, std::int32_t screen_extent);
std::int32_t KeepIfOutside(std::int32_t v, std::int32_t limit, std::int32_t current);
std::int32_t IconStyle(std::int32_t v);
std::int32_t ColumnWidth(std::int32_t v, std::int32_t current);

// Named sections and keys used across the program.
namespace k {
inline constexpr std::string_view kFile = "File", kForm = "Form", kPanelL = "PanelL",
    kPanelRB = "PanelRB", kFontR = "FontR", kFontF = "FontF", kFolderView = "FolderView",
    kInitFolder = "InitFolder", kFileView = "FileView", kRichEdit = "RichEdit", kMenu = "Menu",
    kSystem = "System", kStreamRead = "StreamRead", kReadMax = "ReadMax", kEditer = "Editer",
    kPrint = "Print", kToolBar1 = "ToolBar1", kToolBar2 = "ToolBar2", kMexe = "Mexe",
    kPopupMenu2 = "PopupMenu2";
}  // namespace k

}  // namespace haruvi::app::settings
