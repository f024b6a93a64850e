// The text pane's codec: file bytes of one code page to UTF-16 for display and back,
// losslessly. The pane decodes only the lines it paints and encodes the text it saves;
// Encode(Decode(bytes)) == bytes holds for every byte string in every code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace haruvi::encoding {

// The code pages of the "テキストの文字種類" choice.
enum class CodePage {
  Cp932, Windows1252, Cp949, Gbk, Big5, Windows1250, Windows1251, Windows1253,
  Windows1254, Windows1255, Windows1256, Windows1257, Windows1258, Cp874,
  MacRoman, Cp437,
  Utf8,   // not a font's character set: the form of a UTF-8 (or UTF-16) file
  EucJp,  // nor this: the form of an EUC-JP file (JIS X 0208 as CP932 has it, JIS X 0212, kana)
  Iso2022Jp  // an ISO-2022-JP file as the pane holds it: EUC-JP with the escapes kept
};
inline constexpr int kCodePageCount = 19;

// Windows font character-set numbers: 128 -> Cp932, 0 -> Windows1252, 129 -> Cp949,
// 134 -> Gbk, 136 -> Big5, 238 -> 1250, 204 -> 1251, 161 -> 1253, 162 -> 1254,
// 177 -> 1255, 178 -> 1256, 186 -> 1257, 163 -> 1258, 222 -> Cp874, 77 -> MacRoman,
// 255 -> Cp437; every other number -> Windows1252.
CodePage CodePageForCharset(int font_charset);
// "CP932", "windows-1252", ... (the usual code-page label).
std::string_view CodePageName(CodePage page);

// How bytes become text, and back:
//
// * A byte sequence that is a character of the code page decodes to that character.
// * A byte that starts no character (an undefined byte, a lead byte whose trail byte is
//   missing or does not pair with it) decodes, on its own, to the lone low surrogate
//   U+DC00 + byte (kRawByteBase). The next byte is decoded afresh, so a bad lead byte
//   never swallows the valid character after it. IsRawByte() tells the pane to draw such
//   a unit as a hex box. Lone surrogates never come out of a real character, so they
//   cannot collide with anything, the CP932 user-defined area U+E000-U+E757 included.
// * A code whose character encodes back to a different code (the CP932 NEC row 13,
//   NEC-selected IBM and IBM extension duplicates such as 0x8790 or 0xED40) decodes to
//   that character followed by a variation selector U+FE00 + (n - 1), n numbering the
//   duplicates of the character in code order. Text widgets draw the character and
//   ignore the selector; Encode() reads the pair back as the original code.
//   The code that Encode() picks for the bare character is the one the system's own
//   converter picks (0x81E0 for U+2252, 0xFA5C for U+7E8A), else the lowest.
//
// Encode() of text that did not come from Decode():
// * A character outside the code page, a surrogate pair and an unpaired high surrogate
//   are written as the code page's substitute (CP932: "〓" 0x81AC; others: '?') and
//   counted in *unmappable.
// * A variation selector that does not follow a character with that duplicate is
//   dropped and counted: it has no glyph of its own, so a substitute would add a mark
//   the user never saw.
class PaneCodec {
 public:
  static constexpr char16_t kRawByteBase = 0xDC00;
  static constexpr char16_t kSelectorBase = 0xFE00;
  // Noncharacters: nothing a file decodes to otherwise.
  static constexpr char16_t kEscapeBase = 0xFDD0;
  static constexpr int kEscapeCount = 8;

  // Thread-safe; each code page's tables are built once, on first use.
  static const PaneCodec& For(CodePage page);
  // UTF-8 follows the same rules without tables: a well-formed sequence decodes to its
  // character (a pair of surrogates past U+FFFF), every other byte to a raw unit, and
  // variation selectors are characters of their own. Encode() writes a character
  // outside Unicode's scalar values (a lone surrogate) as U+FFFD and counts it.

  std::u16string Decode(std::string_view bytes) const;  // lossless, never fails
  std::string Encode(std::u16string_view text, size_t* unmappable = nullptr) const;
  // EUC-JP follows the table rules with three-byte characters too: 0x8E and a kana, two
  // bytes of 0xA1-0xFE (the character CP932 has at the same JIS position, with its
  // duplicate marks), 0x8F and two such bytes (JIS X 0212). Encode() writes a character
  // neither set holds as "〓" (0xA2AE). Iso2022Jp is EUC-JP whose escape sequences
  // (ESC ( B, ESC ( J, ESC ( I, ESC $ @, ESC $ B, ESC $ ( B, ESC $ ( D, ESC & @) are
  // characters of their own, each one unit that IsEscape() names and the pane draws as
  // nothing.

  // Bytes of the character at bytes[0] as Decode() takes them: 1 to 3, never past the
  // end; 0 for an empty view.
  size_t CharLength(std::string_view bytes) const;
  // The start of the character (as Decode() takes them) that holds bytes[at]: `at`
  // itself when a character starts there; bytes.size() for `at` past the end. Exact
  // from anywhere in a line: a byte that leads no two-byte character always ends one
  // (and in UTF-8 a character is at most four bytes), so no scan from the start.
  size_t CharStart(std::string_view bytes, size_t at) const;
  // A unit that stands for an undecodable byte (in UTF-8, the low half of a pair that
  // follows its high half is a character's: see PlainText).
  bool IsRawByte(char16_t unit) const { return unit >= kRawByteBase && unit < kRawByteBase + 256; }
  // Whether a variation selector after a character marks a duplicate code.
  bool MarksDuplicates() const { return page_ != CodePage::Utf8; }
  // The units of the characters alone (no raw bytes, no duplicate marks): what the
  // clipboard gets.
  std::u16string PlainText(std::u16string_view units) const;
  static bool IsEscape(char16_t unit) { return unit >= kEscapeBase && unit < kEscapeBase + kEscapeCount; }
  static unsigned char RawByteValue(char16_t unit) { return static_cast<unsigned char>(unit - kRawByteBase); }

  CodePage page() const { return page_; }

  struct Tables;
  // For the converters inside the encoding library (pane_codec_tables.h).
  const Tables& tables() const { return *tables_; }
  PaneCodec(CodePage page, std::unique_ptr<const Tables> tables);
  ~PaneCodec();
  PaneCodec(const PaneCodec&) = delete;
  PaneCodec& operator=(const PaneCodec&) = delete;

 private:
  bool IsEuc() const { return page_ == CodePage::EucJp || page_ == CodePage::Iso2022Jp; }

  CodePage page_;
  std::unique_ptr<const Tables> tables_;
};

}  // namespace haruvi::encoding
