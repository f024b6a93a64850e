// Conversions of a whole text between JIS (ISO-2022-JP), EUC-JP and Shift_JIS, the pair
// arithmetic and half-width kana rules under them, and the conversion numbers of the
// "文字コード変換" menu. Byte string in, new byte string out.
//
// Input that breaks the pair rules is never swallowed: a lead byte without a proper
// second byte (or cut off by the end) is copied on its own and the byte after it is read
// afresh; a byte that cannot start a character is copied; in JIS two-byte mode only two
// bytes of 0x21-0x7E make a pair, anything else (a line end) is copied as it is; an
// escape cut off by the end is copied as it stands. Everything else follows the
// arithmetic, whatever the bytes (the user-defined area 0xF0-0xFC included).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "encoding/char_code.h"

namespace haruvi::encoding {

using BytePair = std::array<unsigned char, 2>;

// The cell of the full-width JIS form of each half-width kana 0xA1-0xDF, in byte order;
// the row is HalfKanaRow().
extern const std::array<unsigned char, 63> HalfKanaTable;
unsigned char HalfKanaRow(unsigned char kana);  // 0x21 for punctuation and marks, else 0x25

BytePair JisPairToSjis(unsigned char j1, unsigned char j2);
BytePair SjisPairToJis(unsigned char s1, unsigned char s2);

struct KanaToJis {
  BytePair jis;
  size_t consumed;  // 0 when no half-width kana stands at the position
};
// The kana at `pos` (with a voicing mark after it merged where one merges).
KanaToJis SjisKanaToJis(std::string_view text, size_t pos);
KanaToJis EucKanaToJis(std::string_view text, size_t pos);  // 0x8E k [0x8E mark]

std::string JisToSjis(std::string_view text);
std::string JisToEuc(std::string_view text);
// The same for a text read in pieces: *two_byte_mode is the JIS mode at the start of
// `text` and becomes the mode at its end. Cut only where no escape or pair is cut.
std::string JisToSjis(std::string_view text, bool* two_byte_mode);
std::string JisToEuc(std::string_view text, bool* two_byte_mode);
std::string EucToSjis(std::string_view text);
std::string EucToJis(std::string_view text);
std::string SjisToJis(std::string_view text);
std::string SjisToEuc(std::string_view text);
// Detects the code and converts JIS and EUC/Shift_JIS to `target` (ccJis83, ccEuc,
// ccSjis); ASCII, binary, undecided texts and other targets come back unchanged.
std::string ConvertToCode(std::string_view text, TCharCode target);

// The numbered conversions of the "文字コード変換" menu.
enum TCodingOp : int {
  coJisToSjis = 1, coEucToSjis, coSjisToJis, coEucToJis, coSjisToEuc, coJisToEuc,
  coBase64Encode, coMimeHeaderEncode, coBase64Decode, coUuEncode, coUuDecode,
  coBinHexEncode, coBinHexDecode, coMimeHeaderDecode, coAutoToSjis,
};

// One piece of a text converted in pieces by one of the six code conversions (the first
// six numbers; any other op copies the piece). The characters that start before `limit`
// are converted; the bytes after it are only looked at, so unless `limit` is the text's
// end it must leave kPieceLookahead (byte_writer.h) bytes after it. *used is where the
// next piece must start (`limit` or a few bytes past it); *two_byte_mode carries the JIS
// mode, read or written, from piece to piece (false at the start). The pieces' results
// joined are the whole text's.
std::string ConvertCodePiece(TCodingOp op, std::string_view text, size_t limit, bool* two_byte_mode, size_t* used);
// Applies one numbered conversion; the line codings end their lines with CR alone, as the
// text pane wants them. An unknown number returns the text unchanged.
std::string ApplyCodingOp(TCodingOp op, std::string_view text);

}  // namespace haruvi::encoding
