#include "platform/history.h"

#include <algorithm>

namespace haruvi::platform {

std::vector<std::string> LoadHistory(const IniFile& ini, std::string_view section, std::string_view count_key) {
  std::vector<std::string> list;
  const std::int32_t count = ini.ReadInteger(section, count_key, 0);
  // A count written by hand is not trusted to size anything.
  for (std::int32_t n = 0; n < std::min<std::int32_t>(count, 1000); ++n) {
    std::string v = ini.ReadString(section, "Items_" + std::to_string(n), "");
    if (!v.empty() && v.front() == '#') {
      v.erase(0, 1);
      if (!v.empty()) v.pop_back();  // the closing mark, whatever it is
    }
    list.push_back(std::move(v));
  }
  return list;
}

std::vector<std::string> UpdatedHistory(std::vector<std::string> list, const std::string& text) {
  if (!text.empty()) {
    auto at = std::find(list.begin(), list.end(), text);
    if (at != list.end()) list.erase(at);
    list.insert(list.begin(), text);
  }
  list.erase(std::remove(list.begin(), list.end(), std::string()), list.end());
  if (list.size() > kHistoryLimit) list.resize(kHistoryLimit);
  return list;
}

bool SaveHistory(IniFile& ini, std::string_view section, const std::vector<std::string>& list,
                 std::string_view count_key, std::size_t limit) {
  IniFile::Batch batch(ini);
  const std::size_t n = std::min({list.size(), kHistoryLimit, limit});
  for (std::size_t i = 0; i < n; ++i) ini.WriteString(section, "Items_" + std::to_string(i), "#" + list[i] + "#");
  ini.WriteInteger(section, count_key, static_cast<std::int32_t>(n));
  return batch.End();
}

}  // namespace haruvi::platform
