// The user-menu sections: one write of the whole list, under a batch, so a failing
// write leaves the old list whole.
#include "platform/user_lists.h"

namespace haruvi::platform {
namespace {

constexpr std::string_view kExe = "Mexe";
constexpr std::string_view kFolders = "PopupMenu2";

std::string Key(std::string_view base, int n) { return std::string(base) + std::to_string(n); }

int Count(const IniFile& ini, std::string_view section) {
  const std::int32_t n = ini.ReadInteger(section, "Count", 0);
  // A count far past any real list is a damaged file, not a reason to read forever.
  return n < 0 ? 0 : (n > 10000 ? 10000 : n);
}

}  // namespace

std::string MenuCaption(int number, std::string_view text) {
  return "&" + std::to_string(number) + " " + std::string(text);
}

std::vector<ExeEntry> ReadExeList(const IniFile& ini) {
  std::vector<ExeEntry> list;
  const int n = Count(ini, kExe);
  for (int i = 0; i < n; ++i)
    list.push_back({ini.ReadString(kExe, Key("File", i), ""), ini.ReadString(kExe, Key("Name", i), "")});
  return list;
}

bool WriteExeList(IniFile& ini, const std::vector<ExeEntry>& list) {
  IniFile::Batch batch(ini);
  ini.WriteInteger(kExe, "Count", static_cast<std::int32_t>(list.size()));
  for (std::size_t i = 0; i < list.size(); ++i) {
    ini.WriteString(kExe, Key("File", int(i)), list[i].file);
    ini.WriteString(kExe, Key("Name", int(i)), list[i].name);
  }
  return batch.End();
}

std::string ReadExeFile(const IniFile& ini, int number) {
  if (number < 1 || number > Count(ini, kExe)) return {};
  return ini.ReadString(kExe, Key("File", number - 1), "");
}

std::vector<std::string> ReadFolderList(const IniFile& ini) {
  std::vector<std::string> list;
  const int n = Count(ini, kFolders);
  for (int i = 0; i < n; ++i) list.push_back(ini.ReadString(kFolders, Key("Folder", i), ""));
  return list;
}

bool WriteFolderList(IniFile& ini, const std::vector<std::string>& list) {
  std::vector<std::string> kept;
  for (const std::string& f : list)
    if (!f.empty()) kept.push_back(f);
  IniFile::Batch batch(ini);
  ini.WriteInteger(kFolders, "Count", static_cast<std::int32_t>(kept.size()));
  for (std::size_t i = 0; i < kept.size(); ++i) ini.WriteString(kFolders, Key("Folder", int(i)), kept[i]);
  return batch.End();
}

std::string ReadFolder(const IniFile& ini, int number) {
  if (number < 1 || number > Count(ini, kFolders)) return {};
  return ini.ReadString(kFolders, Key("Folder", number - 1), "");
}

}  // namespace haruvi::platform
