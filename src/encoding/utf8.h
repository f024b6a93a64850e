// UTF-8 read and written one code point at a time: the one validity rule (no overlong
// forms, no surrogates, nothing past U+10FFFF) every unit that meets UTF-8 uses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace haruvi::encoding {

// Length of the well-formed sequence at s[i] (its code point through *cp), or 0.
inline std::size_t Utf8SequenceAt(std::string_view s, std::size_t i, char32_t* cp = nullptr) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  if (c < 0x80) {
    if (cp) *cp = c;
    return 1;
  }
  std::size_t n;
  char32_t v;
  if (c >= 0xC2 && c <= 0xDF) { n = 2; v = c & 0x1F; }
  else if (c >= 0xE0 && c <= 0xEF) { n = 3; v = c & 0x0F; }
  else if (c >= 0xF0 && c <= 0xF4) { n = 4; v = c & 0x07; }
  else return 0;
  if (i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    v = (v << 6) | (b(i + k) & 0x3F);
  }
  if ((n == 3 && v < 0x800) || (n == 4 && (v < 0x10000 || v > 0x10FFFF)) || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  if (cp) *cp = v;
  return n;
}

inline void AppendUtf8(std::string& out, char32_t v) {
  if (v < 0x80) {
    out.push_back(static_cast<char>(v));
  } else if (v < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (v >> 6)));
    out.push_back(static_cast<char>(0x80 | (v & 0x3F)));
  } else if (v < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (v >> 12)));
    out.push_back(static_cast<char>(0x80 | ((v >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (v & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (v >> 18)));
    out.push_back(static_cast<char>(0x80 | ((v >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((v >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (v & 0x3F)));
  }
}

}  // namespace haruvi::encoding
