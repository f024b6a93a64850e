// Which Japanese character code a text is written in: ASCII, binary, JIS, EUC, Shift_JIS,
// or EUC-or-Shift_JIS undecided. The info line ends with the code's display name, and
// the conversion menus are enabled to fit it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace haruvi::encoding {

// The numbers are part of the interface: the conversions take 2, 4 and 5 as targets.
enum TCharCode : int {
  ccAscii = 0,
  ccBinary = 1,
  ccJis83 = 2,
  ccJis78 = 3,
  ccEuc = 4,
  ccSjis = 5,
  ccEucOrSjis = 6,
};

// The leading bytes that the binary check looks at.
inline constexpr size_t BinaryScanLimit = 512;

// Reads the bytes only; any byte string (empty included) has a result.
TCharCode DetectCharCode(std::string_view text);
// The display name in UTF-8 ("ASCII", "ﾊﾞｲﾅﾘ", "JIS83", ...); empty outside 0..6.
std::string CharCodeName(TCharCode code);

}  // namespace haruvi::encoding
