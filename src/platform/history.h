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

// The entries in order; a value without a leading "#" (written by hand) is taken whole.
// `count_key` names the count ("ToFileCount" for the file-operation targets).
std::vector<std::string> LoadHistory(const IniFile& ini, std::string_view section,
                                     std::string_view count_key = "DriveCount");
// The list after confirming `text`: a text already there moves to the top, a new one is
// put on top, empty entries go, and the list is cut to the limit. An empty text only
// drops the empty entries.
std::vector<std::string> UpdatedHistory(std::vector<std::string> list, const std::string& text);
// Writes the list (at most the limit) and its count in one write. Keys of a longer list
// written before are left as they are.
// `limit` caps what is written (ten for the target and piece-size lists); the count
// written is the number of entries written, so no stale key is read back.
bool SaveHistory(IniFile& ini, std::string_view section, const std::vector<std::string>& list,
                 std::string_view count_key = "DriveCount", std::size_t limit = kHistoryLimit);

}  // namespace haruvi::platform
