// Reading Shift_JIS text one character at a time: a double-byte character is one
// 16-bit code (lead byte x 256 + trail byte) so that patterns and matchers never split it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "encoding/sjis_char.h"

namespace haruvi::regex {

using Code = std::uint16_t;

using encoding::IsLeadByte;

// The highest code a text can hold (lead 0xFC, trail 0xFF). Codes above it are free for
// the automaton's pseudo-characters (line head and tail) and can never collide with text.
inline constexpr Code kMaxTextCode = 0xFCFF;

struct CharAt {
  Code code;         // 0 at the end of the text
  std::size_t next;  // position after the character (unchanged at the end)
};

// The character at `pos`. A lead byte that is the last byte of the text stands alone
// (its own value) instead of borrowing a byte past the end.
inline CharAt ReadChar(std::string_view s, std::size_t pos) {
  if (pos >= s.size()) return {0, pos};
  auto b = static_cast<unsigned char>(s[pos]);
  if (IsLeadByte(b) && pos + 1 < s.size())
    return {static_cast<Code>(b << 8 | static_cast<unsigned char>(s[pos + 1])), pos + 2};
  return {b, pos + 1};
}

// Bytes of a code: two for a code whose high byte is a lead byte, else the low byte.
inline void AppendCode(std::string& out, Code c) {
  if (c > 0xFF && IsLeadByte(static_cast<unsigned char>(c >> 8)))
    out.push_back(static_cast<char>(c >> 8));
  out.push_back(static_cast<char>(c & 0xFF));
}

}  // namespace haruvi::regex
