#include "platform/command_line.h"

namespace haruvi::platform {

CommandLine SplitCommandLine(std::string_view line) {
  CommandLine out;
  std::string word;
  bool in_word = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      if (in_word) out.words.push_back(std::move(word));
      word.clear();
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\'') {
      const std::size_t end = line.find('\'', i + 1);
      if (end == std::string_view::npos) {
        out.error = "引用符 ' が閉じていません";
        return out;
      }
      word.append(line.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '"') {
      std::size_t j = i + 1;
      for (; j < line.size() && line[j] != '"'; ++j) {
        if (line[j] == '\\' && j + 1 < line.size() && (line[j + 1] == '"' || line[j + 1] == '\\')) ++j;
        word.push_back(line[j]);
      }
      if (j >= line.size()) {
        out.error = "引用符 \" が閉じていません";
        return out;
      }
      i = j;
    } else if (c == '\\' && i + 1 < line.size() && std::string_view(" \t\"'\\").find(line[i + 1]) != std::string_view::npos) {
      // Only before what would otherwise split or quote: a Shift_JIS trail byte 0x5C
      // before an ordinary character stays as it is.
      word.push_back(line[++i]);
    } else {
      word.push_back(c);
    }
  }
  if (in_word) out.words.push_back(std::move(word));
  if (out.words.empty() && out.error.empty()) out.error = "コマンドラインが空です";
  return out;
}

}  // namespace haruvi::platform
