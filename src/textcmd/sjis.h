// Shift_JIS character boundaries for the text commands: which bytes start a two-byte
// character and where characters begin, so that no command cuts one in half.
#pragma once

#include <cstddef>
#include <string_view>

#include "encoding/sjis_char.h"

namespace haruvi::textcmd {

using encoding::CharLength;
using encoding::IsLeadByte;

enum class ByteKind { kSingle, kLead, kTrail };

// Class of byte `pos` (0-based) of `s`, found by walking characters from its start: a byte
// in the lead range may well be the second half of the character before it.
ByteKind ByteKindAt(std::string_view s, std::size_t pos);

inline constexpr std::string_view kFullWidthSpace = "\x81\x40";

}  // namespace haruvi::textcmd
