// Tests write Japanese text in UTF-8 for readability; S() turns it into Shift_JIS bytes
// (code page 932).
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

namespace haruvi::test {

inline std::string S(std::string_view utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
  std::string in(utf8), out(utf8.size() * 2 + 4, '\0');
  char* ip = in.data();
  char* op = out.data();
  std::size_t il = in.size(), ol = out.size();
  std::size_t r = iconv(cd, &ip, &il, &op, &ol);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not convertible: " + in);
  out.resize(out.size() - ol);
  return out;
}

}  // namespace haruvi::test
