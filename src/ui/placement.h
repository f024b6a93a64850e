// Where a declared command shows: its menu, its copy in the pop-up menu, its tool button
// and its key letter. A controller places its commands with their rows (ActionRegistry::
// Place); the window's menus, the tool bars and the key commands read the places by name,
// so a command is placed where it is declared. The texts are static (a row's literals).
#pragma once

#include <QString>

namespace haruvi::ui {

// A button of one of the two tool bars.
struct ToolButtonPlace {
  int bar = 0;                // 1: the main bar, 2: the text bar; 0: no button
  const char* name = "";      // "ToolButton51": the button's name and its settings key
  const char* entry = "";     // its entry in the tool-button dialog: "html->txt"
  const char* icon = "";      // the icon's name in the freedesktop scheme
  const char* after = "";     // the button it follows on its bar
  // The button's own command, named like the button, with this caption (its hint is the
  // command's); "" when the button runs the command itself.
  const char* caption = "";
};

// A letter key of the file list and the folder tree.
struct KeyPlace {
  char letter = 0;         // an upper-case letter or punctuation; 0: no key
  const char* entry = "";  // its entry in the key menu: "&T 文字コード自動変換"
};

struct Placement {
  const char* action = "";  // the command: "MLineSortU1"
  // The menu by captions, the menu bar's first: "編集(&E)/行の並び替え"; "" for none. The
  // pop-up menu has a submenu of the same caption for each of the bar's menus it copies.
  const char* menu = "";
  bool group_start = false;  // the first of a group: a line above its entry in the top menu
  QString popup = {};        // its copy in the pop-up menu: "MLineSortU1P"; empty for none
  ToolButtonPlace button = {};
  KeyPlace key = {};

  // The command the tool button runs.
  const char* ButtonAction() const { return *button.caption ? button.name : action; }
};

}  // namespace haruvi::ui
