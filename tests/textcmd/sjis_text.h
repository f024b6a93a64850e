// Test helpers: Shift_JIS bytes from readable UTF-8 literals, and line lists from texts.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "textcmd/lines.h"

namespace haruvi::textcmd::test {

using V = std::vector<std::string>;

// The Shift_JIS (code page 932) bytes of a UTF-8 text.
inline std::string Sj(std::string_view utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
  std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
  char* ip = in.data();
  char* op = out.data();
  size_t il = in.size(), ol = out.size();
  size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1)) throw std::runtime_error("not convertible: " + in);
  out.resize(out.size() - ol);
  return out;
}

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

inline std::vector<std::string> Strings(const std::vector<std::string_view>& lines) {
  return {lines.begin(), lines.end()};
}

}  // namespace haruvi::textcmd::test
