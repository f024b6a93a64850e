// Pattern text to tokens. The reader walks the pattern character by character (a
// double-byte character is one code) and decodes escapes; the scanner maps characters to
// token kinds and switches to the class reader between "[" and "]".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "regex/sjis_char.h"

namespace haruvi::regex {

// Token kinds, in the order the parser and the preprocessor know them.
enum TokenKind : std::uint8_t {
  tkChar = 0,         // ordinary character (also every escape)
  tkRange = 1,        // 'x-y' inside a class
  tkUnion = 2,        // |
  tkGroupOpen = 3,    // (
  tkGroupClose = 4,   // )
  tkStar = 5,         // *
  tkPlus = 6,         // +
  tkQuestion = 7,     // ?
  tkClassOpen = 8,    // [
  tkNegClassOpen = 9, // [^
  tkClassClose = 10,  // ]
  tkDot = 11,         // .
  tkLineHead = 12,    // ^
  tkLineTail = 13,    // $
  tkEnd = 14,         // end of the pattern
};

struct Token {
  TokenKind kind = tkEnd;
  Code code = 0;          // the character, or the low end of a range
  Code code2 = 0;         // the high end of a range
  std::size_t start = 1;  // 1-based byte position of the token in the pattern
  std::size_t next = 1;   // 1-based position of the following token
};

// Character-level reading of a pattern (or a replacement template) with the escape
// table. Positions are 0-based inside; errors report the 1-based position.
class PatternReader {
 public:
  explicit PatternReader(std::string_view text = {}) : text_(text) {}
  void SetText(std::string_view text) { text_ = text; pos_ = 0; }
  std::string_view Text() const { return text_; }
  std::size_t Pos() const { return pos_; }
  bool AtEnd() const { return pos_ >= text_.size(); }

  // The next character, 0 at the end (without advancing). A lead byte as the last byte
  // is an error.
  Code GetChar();
  // Steps back over one character already read.
  void StepBack();
  // The code of an escape; call after the backslash has been read.
  Code ReadEscape();
  [[noreturn]] void Fail(const char* message) const;

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

class TREScanner {
 public:
  explicit TREScanner(std::string_view pattern = {}) : reader_(pattern) {}
  virtual ~TREScanner() = default;
  void SetText(std::string_view pattern) { reader_.SetText(pattern); in_class_ = false; }
  Token NextToken();
  std::size_t Position() const { return reader_.Pos() + 1; }

 protected:
  virtual void ReadToken(Token& t);       // outside a class
  virtual void ReadClassToken(Token& t);  // between "[" and "]"

  PatternReader reader_;
  bool in_class_ = false;
};

}  // namespace haruvi::regex
