// Test helpers: Shift_JIS bytes from readable UTF-8 literals (support/sjis.h), and line
// lists from texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/sjis.h"
#include "textcmd/lines.h"

namespace haruvi::textcmd::test {

using V = std::vector<std::string>;

inline std::string Sj(std::string_view utf8) { return haruvi::test::S(utf8); }

inline std::vector<std::string> Sj(const std::vector<std::string>& utf8) {
  std::vector<std::string> out;
  for (const auto& s : utf8) out.push_back(Sj(s));
  return out;
}

inline std::vector<std::string_view> Views(const std::vector<std::string>& lines) {
  return {lines.begin(), lines.end()};
}

inline std::vector<std::string> Strings(const Lines& lines) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < lines.size(); ++i) out.emplace_back(lines[i]);
  return out;
}

inline std::vector<std::string> Strings(const KeptLines& lines) {
  std::vector<std::string> out;
  lines.ForEach([&](std::string_view l) {
    out.emplace_back(l);
    return true;
  });
  return out;
}

inline std::vector<std::string> Strings(const std::vector<std::string_view>& lines) {
  return {lines.begin(), lines.end()};
}

}  // namespace haruvi::textcmd::test
