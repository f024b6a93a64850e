// Shift_JIS character boundaries for the text commands: which bytes start a two-byte
// character and where characters begin, so that no command cuts one in half.
#pragma once

#include <cstddef>
#include <string_view>

namespace haruvi::textcmd {

inline bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes taken by the character at `pos`: 2 for a lead byte with a byte after it, else 1.
// A lead byte at the very end stands alone, so nothing reads past the text.
inline std::size_t CharLength(std::string_view s, std::size_t pos) {
  return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

enum class ByteKind { kSingle, kLead, kTrail };

// Class of byte `pos` (0-based) of `s`, found by walking characters from its start: a byte
// in the lead range may well be the second half of the character before it.
ByteKind ByteKindAt(std::string_view s, std::size_t pos);

inline constexpr std::string_view kFullWidthSpace = "\x81\x40";

}  // namespace haruvi::textcmd
