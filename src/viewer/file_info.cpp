#include "viewer/file_info.h"

#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "encoding/display_name.h"
#include "platform/text_format.h"

namespace haruvi::viewer {
namespace {

std::string NameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  return path.substr(0, slash + 1);
}

std::string UpperExtension(const std::string& path) {
  std::string name = NameOf(path);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return ext;
}

}  // namespace

std::string SizeField(std::uint64_t size) { return platform::FormatThousands(size, 15) + " byte"; }

std::string DateField(std::int64_t unix_time) {
  std::time_t t = static_cast<std::time_t>(unix_time);
  std::tm tm {};
  ::localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y.%m.%d", &tm);
  return std::string(buf) + "(" + platform::JapaneseShortWeekday(tm.tm_wday) + ")";
}

std::string AttributeField(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && ::lstat(path.c_str(), &st) != 0) return AttributeField(path, nullptr);
  return AttributeField(path, &st);
}

std::string AttributeField(const std::string& path, const struct stat* entry) {
  if (!entry) return "ｴﾗｰ----";
  const struct stat& st = *entry;
  std::string out;
  const bool is_dir = S_ISDIR(st.st_mode);
  const bool read_only = (st.st_mode & S_IWUSR) == 0;
  const bool archive = S_ISREG(st.st_mode);
  const bool system = !S_ISREG(st.st_mode) && !is_dir && !S_ISLNK(st.st_mode);
  const std::string name = NameOf(path);
  const bool hidden = !name.empty() && name[0] == '.';
  out += read_only ? "R" : "-";
  out += archive ? "A" : "-";
  out += system ? "S" : "-";
  out += hidden ? "H" : "-";
  if (is_dir) out += "   ﾃﾞｨﾚｸﾄﾘ";
  return out;
}

std::string InfoLineStep1(const std::string& path) {
  struct stat st {};
  return InfoLineStep1(path, ::stat(path.c_str(), &st) == 0 ? &st : nullptr);
}

std::string InfoLineStep1(const std::string& path, const struct stat* st) {
  std::string line = encoding::NameForDisplay(NameOf(path));
  line += "   ";
  line += st ? SizeField(static_cast<std::uint64_t>(st->st_size)) : "- ";
  line += "   ";
  line += st ? DateField(st->st_mtime) : "";
  line += "   ";
  line += st ? AttributeField(path, st) : AttributeField(path);
  line += "    ";
  line += encoding::NameForDisplay(FolderOf(path));
  line += "    ";  // the kind and the code follow after four more (eight in all)
  return line;
}

std::string InfoLineStep2(const std::string& step1, std::string_view kind, std::string_view code_name) {
  std::string line = step1;
  line += "    ";
  line += kind;
  line += "  ";
  line += code_name;
  return line;
}

LoadWay ReadRule(std::uint64_t size, const ReadSettings& s) {
  const auto n = static_cast<std::int64_t>(size > INT64_MAX ? INT64_MAX : size);
  if (s.read_max > 0 && n > s.read_max) return LoadWay::Nothing;
  if (s.stream_check && n > s.stream_bytes) return LoadWay::Stream;
  return LoadWay::Direct;
}

std::string filekind(std::string_view first_line, const std::string& path) {
  if (path.empty() || first_line.empty()) return {};
  struct Signature {
    std::string_view bytes;
    std::string_view name;
  };
  static constexpr Signature kTable[] = {
      {"MZ", "実行ファイル"},
      {"BM", "ﾋﾞｯﾄﾏｯﾌﾟ"},
      {"DCU1", "DEL_U1"},
      {"HSPP", "DEL_U2"},
      {"\x41\x86\x51\x44", "DEL_U3"},
      {"program", "Delphi program"},
      {"unit", "Delphi unit"},
      {"{\\rtf", "ﾘｯﾁテキスト"},
  };
  for (const Signature& s : kTable)
    if (first_line.substr(0, s.bytes.size()) == s.bytes) return "[" + std::string(s.name) + "]";
  if (first_line.substr(0, 2) == "?_")
    return UpperExtension(path) == ".HLP" ? "[Helpファイル]" : std::string();
  return {};
}

}  // namespace haruvi::viewer
