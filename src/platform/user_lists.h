// The user's registered applications (section "Mexe") and folders (section
// "PopupMenu2"): reading and writing the lists, and the captions of their menu items.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_file.h"

namespace haruvi::platform {

struct ExeEntry {
  std::string file;  // the command line, normally the program's full path
  std::string name;  // shown in the menu
};

// "&" + number + " " + text: the first nine get the digits as accelerators.
std::string MenuCaption(int number, std::string_view text);

// Every entry 0 .. "Count" - 1 (a negative or missing count reads as none).
std::vector<ExeEntry> ReadExeList(const IniFile& ini);
// "Count", then "File" + n and "Name" + n for every entry. Keys of a longer, former
// list stay in the file unread.
bool WriteExeList(IniFile& ini, const std::vector<ExeEntry>& list);
// One entry's command line by its number from 1, as a click reads it; "" when the
// number is outside the list.
std::string ReadExeFile(const IniFile& ini, int number);

// Every folder 0 .. "Count" - 1, empty ones included (they keep the numbering's gaps).
std::vector<std::string> ReadFolderList(const IniFile& ini);
// Empty entries are dropped, then "Count" and "Folder" + n are written.
bool WriteFolderList(IniFile& ini, const std::vector<std::string>& list);
std::string ReadFolder(const IniFile& ini, int number);

}  // namespace haruvi::platform
