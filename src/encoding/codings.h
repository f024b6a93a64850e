// The 7-bit codings of the "文字コード変換" menu: Base64, mail-header encoded words
// ("=?ISO-2022-JP?B?...?="), the line format of uuencode and the BinHex 4.0 characters.
// Byte string in, new byte string out; decoders never fail and return what they decoded.
//
// Decoding rules for input that is not well formed:
// * Base64: bytes outside the alphabet (line ends, blanks, anything) are skipped wherever
//   they stand; a group cut short by the end gives the bytes its characters determine.
// * uuencode: a line ends at CR or LF; a group cut short by the line end or the end of
//   the input gives the bytes its characters determine; characters after a line's groups
//   are skipped; decoding ends after the first line whose length is not 45 ('M'). A
//   "begin MODE NAME" line at the start is skipped and an "end" line ends the decoding.
// * BinHex: line ends are skipped wherever they stand; any other byte outside the
//   alphabet (the closing ':' among them) ends the decoding.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::encoding {

std::string Base64Encode(std::string_view text);  // one unbroken line
std::string Base64Decode(std::string_view text);

// Runs of Shift_JIS two-byte characters become one encoded word each.
std::string MimeHeaderEncode(std::string_view text);
// Every encoded word (prefix in any letter case) becomes its JIS bytes + ESC ( J. The end
// mark "?=" is looked for after the prefix, never before it or in bytes already decoded;
// a prefix without an end mark is dropped and the rest kept.
std::string MimeHeaderDecode(std::string_view text);

// Lines of 45 bytes ('M' + 60 characters), a short last line, then sep, '`', sep.
std::string UuEncode(std::string_view text, std::string_view sep);
std::string UuDecode(std::string_view text);

// ':' + characters + ':', sep after every 64th character of a line (the first line
// counting its ':'), inside whole groups only: the closing ':' stays on the last line.
std::string BinHexEncode(std::string_view text, std::string_view sep);
std::string BinHexDecode(std::string_view text);

}  // namespace haruvi::encoding
