// TForm7's command text and its reading back.
#include "systools/dir_options.h"

#include <cctype>

namespace haruvi::systools {

const std::vector<std::string>& AttributeItems() {
  static const std::vector<std::string> kItems = {
      "普通", " D ﾃﾞｨﾚｸﾄﾘ", "-D ﾃﾞｨﾚｸﾄﾘ－以外", " R 読み取り専用", "-R 読み取り専用－以外", " H 隠しﾌｧｲﾙ",
      "-H 隠しﾌｧｲﾙ－以外", " S ｼｽﾃﾑﾌｧｲﾙ", "-S ｼｽﾃﾑﾌｧｲﾙ－以外", " A ｱｰｶｲﾌﾞﾌｧｲﾙ", "-A ｱｰｶｲﾌﾞﾌｧｲﾙ－以外"};
  return kItems;
}

const std::vector<std::string>& SortItems() {
  static const std::vector<std::string> kItems = {
      "普通", " N 名前順", "-N 名前－逆順", " S サイズ順", "-S サイズ－逆順", "E 拡張子順", "-E 拡張子－逆順",
      "D 日付順", "-D 日付－逆順", "G ディレクトリ優先", "-G ディレクトリ後", "A 最終アクセス順", "-A 最終アクセス逆順"};
  return kItems;
}

std::string DirCommandText(const std::string& path, const DirChoices& c) {
  static constexpr const char* kAttr[] = {" ", " /A:D", " /A:-D", " /A:R", " /A:-R", " /A:H",
                                          " /A:-H", " /A:S", " /A:-S", " /A:A", " /A:-A"};
  static constexpr const char* kSort[] = {" ", " /O:N", " /O:-N", " /O:S", " /O:-S", " /O:E", " /O:-E",
                                          " /O:D", " /O:-D", " /O:G", " /O:-G", " /O:A", " /O:-A"};
  static constexpr const char* kForm[] = {" ", " /V", " /B", " /W"};
  const auto pick = [](const auto& table, int i) {
    const int n = static_cast<int>(std::size(table));
    return table[(i >= 0 && i < n) ? i : 0];
  };
  return "\"" + path + "\"" + pick(kAttr, c.attribute) + pick(kSort, c.sort) + (c.subfolders ? " /S" : " ") +
         pick(kForm, c.form) + (c.lower ? " /L" : " ");
}

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Reads "/A:..." or "/O..." letters after the switch letter; false on a letter it does not know.
template <class Item>
bool Letters(std::string_view rest, std::string_view allowed, std::vector<Item>& out) {
  if (!rest.empty() && rest.front() == ':') rest.remove_prefix(1);
  bool minus = false;
  for (char ch : rest) {
    if (ch == '-') {
      minus = true;
      continue;
    }
    const char u = Upper(ch);
    if (allowed.find(u) == std::string_view::npos) return false;
    out.push_back({u, minus});
    minus = false;
  }
  return true;
}

}  // namespace

DirRequest ParseDirCommand(std::string_view text) {
  DirRequest r;
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text[i] == '"') {
    const size_t close = text.find('"', i + 1);
    r.path = std::string(text.substr(i + 1, close == std::string_view::npos ? std::string_view::npos : close - i - 1));
    i = close == std::string_view::npos ? text.size() : close + 1;
  } else {
    // A path may hold blanks: it runs up to the first " /" that starts a switch.
    size_t end = text.find(" /", i);
    if (end == std::string_view::npos) end = text.size();
    r.path = std::string(text.substr(i, end - i));
    while (!r.path.empty() && r.path.back() == ' ') r.path.pop_back();
    i = end;
  }
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) break;
    size_t end = text.find(' ', i);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(i, end - i);
    i = end;
    if (word.size() < 2 || word[0] != '/') {
      r.error = std::string(word);
      return r;
    }
    const char s = Upper(word[1]);
    const std::string_view rest = word.substr(2);
    bool ok = true;
    if (s == 'A') {
      if (rest.empty() || rest == ":") r.any_attributes = true;
      else ok = Letters(rest, "DRHSA", r.attributes);
    } else if (s == 'O') {
      ok = Letters(rest, "NSEDGA", r.sort);
      if (ok && r.sort.empty()) r.sort.push_back({'N', false});  // "/O" alone: by name
    } else if (rest.empty() && s == 'S') {
      r.subfolders = true;
    } else if (rest.empty() && s == 'V') {
      r.form = DirForm::Verbose;
    } else if (rest.empty() && s == 'B') {
      r.form = DirForm::Bare;
    } else if (rest.empty() && s == 'W') {
      r.form = DirForm::Wide;
    } else if (rest.empty() && s == 'L') {
      r.lower = true;
    } else {
      ok = false;
    }
    if (!ok) {
      r.error = std::string(word);
      return r;
    }
  }
  return r;
}

}  // namespace haruvi::systools
