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

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace haruvi::encoding {

std::string Base64Encode(std::string_view text);  // one unbroken line
std::string Base64Decode(std::string_view text);

// Base64Decode of a text given in pieces: the group in progress carries over.
class Base64Decoder {
 public:
  void Decode(std::string_view piece, std::string& out);  // appends to out
  void Finish(std::string& out);                          // the group cut short by the end

 private:
  static unsigned char* EndGroup(uint32_t& group, int& have, unsigned char* o);
  uint32_t group_ = 0;
  int have_ = 0;
};

// Runs of Shift_JIS two-byte characters become one encoded word each.
std::string MimeHeaderEncode(std::string_view text);
// Every encoded word (prefix in any letter case) becomes its JIS bytes + ESC ( J. The end
// mark "?=" is looked for after the prefix, never before it or in bytes already decoded;
// a prefix without an end mark is dropped and the rest kept.
std::string MimeHeaderDecode(std::string_view text);

// MimeHeaderEncode of a text given in pieces: the characters that start before `limit`
// (the byte after it only looked at) or all when `last`; returns the bytes taken. A run
// goes on from piece to piece.
class MimeHeaderEncoder {
 public:
  size_t Encode(std::string_view text, size_t limit, bool last, std::string& out);

 private:
  void EndRun(std::string& out);
  bool in_run_ = false;
  std::string jis_;  // the run's JIS bytes not yet written as whole Base64 groups
};

// MimeHeaderDecode of a text given in pieces: returns the bytes taken; an encoded word
// whose end mark has not come yet waits at the front of the next piece (PieceLimitError,
// piece_io.h, once it is longer than kMaxHeldBytes).
class MimeHeaderDecoder {
 public:
  size_t Decode(std::string_view text, bool last, std::string& out);
};

// Lines of 45 bytes ('M' + 60 characters), a short last line, then sep, '`', sep.
std::string UuEncode(std::string_view text, std::string_view sep);
std::string UuDecode(std::string_view text);
// The same, *ended telling whether the decoding ended (a line of another length, or
// "end"); `at_start`: the text begins the input, so a "begin" line is skipped there.
std::string UuDecode(std::string_view text, bool* ended, bool at_start = true);
// UuEncode of a text given in pieces: each but the last a whole number of lines (45
// bytes each); the last writes the closing lines.
std::string UuEncodePiece(std::string_view text, std::string_view sep, bool last);

// ':' + characters + ':', sep after every 64th character of a line (the first line
// counting its ':'), inside whole groups only: the closing ':' stays on the last line.
std::string BinHexEncode(std::string_view text, std::string_view sep);
std::string BinHexDecode(std::string_view text);
// BinHexEncode of a text given in pieces, each but the last a multiple of 48 bytes (16
// groups): the first opens with ':', the last closes with it.
std::string BinHexEncodePiece(std::string_view text, std::string_view sep, bool first, bool last);
// BinHexDecode of a text given in pieces: the group in progress carries over.
class BinHexDecoder {
 public:
  void Decode(std::string_view piece, std::string& out);  // appends to out

 private:
  bool started_ = false;  // the opening byte is skipped
  bool done_ = false;     // a byte outside the alphabet ended the decoding
  int have_ = 0;          // characters of the group in progress
  uint8_t prev_ = 0;      // the last of them
};

}  // namespace haruvi::encoding
