// Shift_JIS character boundaries, the one rule every core splits text by: which bytes
// start a two-byte character, which bytes may end one, and how many bytes the character
// at a position takes. Inline and constexpr: scanners call these once per byte.
#pragma once

#include <cstddef>
#include <string_view>

namespace haruvi::encoding {

// Lead bytes of a two-byte character in code page 932.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes that complete a well-formed pair after a lead byte. The code conversions test it
// so that a broken pair is copied as bytes rather than turned into another character;
// splitting text into characters does not, and takes any byte after a lead byte.
constexpr bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Bytes taken by the character at `pos` (pos < s.size()): 2 for a lead byte with a byte
// after it, else 1. A lead byte at the very end stands alone, so nothing reads past the
// text.
constexpr std::size_t CharLength(std::string_view s, std::size_t pos) {
  return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

}  // namespace haruvi::encoding
