// The window's text commands, one row each: the menu item (name, caption, hint), where it
// is placed (menu, pop-up copy, tool button, key letter) and what it runs: a command of the
// core table with fixed answers in a frame of the row's mode, or a handler that asks for
// more first. The controller declares and places every row; nothing else lists them.
#pragma once

#include <array>
#include <span>

#include "controllers/textcmd/command_frame.h"
#include "ui/placement.h"

namespace haruvi::controllers {

class TextCmdController;

struct CommandRow {
  const char* name = "";     // the menu item's name: "MLineSortU1"
  const char* caption = "";  // "昇順"
  const char* hint = "";     // "short|long": the tool tip, then the status text
  const char* menu = "";     // "編集(&E)/行の並び替え": the menu bar's menu, then submenus
  bool group_start = false;  // the first of a group: a line above it in its top menu
  bool popup_copy = true;    // a copy named like it with "P" added in the pop-up menu
  CommandFrame::Way mode = {};  // simple edit and word wrap while it runs
  // The core command run on the pane's lines (on the selected file's bytes for a command
  // that reads bytes), with these answers; unused when the row has a handler.
  const char* command = "";
  std::array<const char*, 2> answers = {};  // up to two, the rest nullptr
  void (TextCmdController::*handler)() = nullptr;
  ui::ToolButtonPlace button = {};
  ui::KeyPlace key = {};
};

// Every row in menu order.
std::span<const CommandRow> CommandRows();

}  // namespace haruvi::controllers
