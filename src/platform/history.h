// Input histories: lists of earlier entries kept in a section of the settings file, most
// recent first, each written as "#" + entry + "#" so leading and trailing blanks survive.
// Keys "DriveCount" and "Items_0" ... ; at most 21 entries are kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_file.h"

namespace haruvi::platform {

inline constexpr std::size_t kHistoryLimit = 21;

// Where a history lies in its section: the count key, the prefix of the entry keys and
// the most entries written. Most dialogs use the defaults; some keep two histories in
// one section or write fewer entries.
struct HistoryKeys {
  std::string_view count = "DriveCount";
  std::string_view item = "Items_";
  std::size_t limit = kHistoryLimit;
};

// The entries in order; a value without a leading "#" (written by hand) is taken whole.
std::vector<std::string> LoadHistory(const IniFile& ini, std::string_view section, const HistoryKeys& keys = {});
// The list after confirming `text`: a text already there moves to the top, a new one is
// put on top, empty entries go, and the list is cut to the limit. An empty text only
// drops the empty entries.
std::vector<std::string> UpdatedHistory(std::vector<std::string> list, const std::string& text);
// Writes the list (at most the limit) and its count in one write. Keys of a longer list
// written before are left as they are.
bool SaveHistory(IniFile& ini, std::string_view section, const std::vector<std::string>& list,
                 const HistoryKeys& keys = {});

}  // namespace haruvi::platform
