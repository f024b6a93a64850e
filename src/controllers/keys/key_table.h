// The letter keys of the file list and the folder tree: each key's character, the
// half-width katakana the same key gives in kana input mode, the command it runs (an
// action name) and its entry in the key menu. Plain data; no widgets.
#pragma once

#include <string_view>

namespace haruvi::controllers::keys {

struct KeyCommand {
  char letter;              // upper-case letter or punctuation: 'A', ';', '\\'
  std::string_view kana;    // UTF-8 half-width katakana: "ﾁ"
  std::string_view action;  // the registry name it triggers
  std::string_view entry;   // its key-menu caption
};

// The whole table, in key order.
const KeyCommand* KeyTable(std::size_t* count);

// The command of a typed character (UTF-8, one character): a letter in either case or
// its katakana twin. nullptr for a character the table does not name.
const KeyCommand* FindKey(std::string_view typed);

}  // namespace haruvi::controllers::keys
