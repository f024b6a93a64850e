// The letter keys of the file list and the folder tree: each key's character, the
// half-width katakana the same key gives in kana input mode, the command it runs (an
// action name) and its entry in the key menu. The table holds the file list's own keys; a
// command placed with a key letter (ui/placement.h) joins them. Plain data; no widgets.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace haruvi::ui { struct Placement; }

namespace haruvi::controllers::keys {

struct KeyCommand {
  char letter;              // upper-case letter or punctuation: 'A', ';', '\\'
  std::string_view kana;    // UTF-8 half-width katakana: "ﾁ"
  std::string_view action;  // the registry name it triggers
  std::string_view entry;   // its key-menu caption
  std::string_view entry_action;  // what the key-menu entry runs (mostly `action`)
};

// The katakana the key of that character gives on a Japanese keyboard in kana input
// mode: "ﾁ" for 'A'; "" for a character the keyboard has no such key for.
std::string_view KanaOf(char letter);
// The same katakana in full width: "チ" for 'A'.
std::string_view WideKanaOf(char letter);

// Every key command in key order (the letters, then punctuation): the table's and each
// placed command's. A letter taken twice, or one without a key of its own, throws
// std::logic_error.
std::vector<KeyCommand> KeyCommands(const std::vector<ui::Placement>& places);

// The command of a typed character (UTF-8, one character): a letter in either case or
// its katakana twin in either width. nullptr for a character `keys` does not name.
const KeyCommand* FindKey(std::span<const KeyCommand> keys, std::string_view typed);

}  // namespace haruvi::controllers::keys
