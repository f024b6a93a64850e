// Tokenising patterns: the escape table, the ordinary reader and the class reader.
#include "regex/scanner.h"

#include "regex/regex_error.h"

namespace haruvi::regex {

namespace {
int HexValue(Code c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

void PatternReader::Fail(const char* message) const { throw ERegExpParser(message, pos_ + 1); }

Code PatternReader::GetChar() {
  if (pos_ >= text_.size()) return 0;
  auto b = static_cast<unsigned char>(text_[pos_++]);
  if (!IsLeadByte(b)) return b;
  if (pos_ >= text_.size()) Fail(msg::kBadDoubleByte);
  return static_cast<Code>(b << 8 | static_cast<unsigned char>(text_[pos_++]));
}

void PatternReader::StepBack() {
  if (pos_ == 0) return;
  // The byte before us is a trail byte when an odd run of lead-byte values precedes it.
  std::size_t run = 0;
  for (std::size_t j = pos_ - 1; j > 0 && IsLeadByte(static_cast<unsigned char>(text_[j - 1])); --j)
    ++run;
  pos_ -= (run % 2 == 1 && pos_ >= 2) ? 2 : 1;
}

Code PatternReader::ReadEscape() {
  std::size_t before = pos_;
  Code c = GetChar();
  if (c == 0 && pos_ == before) Fail(msg::kBackslashAtEnd);
  switch (c) {
    case 'b': return 8;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'x': {
      unsigned value = 0;
      int digits = 0;
      while (digits < 4) {
        std::size_t at = pos_;
        Code d = GetChar();
        int v = HexValue(d);
        if (v < 0) {
          if (digits == 0) Fail(msg::kBadHex);
          if (pos_ != at) StepBack();
          break;
        }
        value = value * 16 + static_cast<unsigned>(v);
        ++digits;
      }
      return static_cast<Code>(value);
    }
    default:
      break;
  }
  if (c >= '0' && c <= '7') {
    unsigned long value = c - '0';
    for (int digits = 1; digits < 6; ++digits) {
      std::size_t at = pos_;
      Code d = GetChar();
      if (d < '0' || d > '7') {
        if (pos_ != at) StepBack();
        break;
      }
      value = value * 8 + (d - '0');
    }
    if (value > 0xFFFF) Fail(msg::kBadOctal);
    return static_cast<Code>(value);
  }
  return c;
}

Token TREScanner::NextToken() {
  Token t;
  t.start = reader_.Pos() + 1;
  if (in_class_) ReadClassToken(t);
  else ReadToken(t);
  if (t.kind == tkClassOpen || t.kind == tkNegClassOpen) in_class_ = true;
  else if (t.kind == tkClassClose) in_class_ = false;
  t.next = reader_.Pos() + 1;
  return t;
}

void TREScanner::ReadToken(Token& t) {
  std::size_t before = reader_.Pos();
  Code c = reader_.GetChar();
  if (c == 0 && reader_.Pos() == before) {
    t.kind = tkEnd;
    return;
  }
  t.kind = tkChar;
  t.code = c;
  switch (c) {
    case '|': t.kind = tkUnion; break;
    case '(': t.kind = tkGroupOpen; break;
    case ')': t.kind = tkGroupClose; break;
    case '*': t.kind = tkStar; break;
    case '+': t.kind = tkPlus; break;
    case '?': t.kind = tkQuestion; break;
    case ']': t.kind = tkClassClose; break;
    case '.': t.kind = tkDot; break;
    case '^': t.kind = tkLineHead; break;
    case '$': t.kind = tkLineTail; break;
    case '\\': t.code = reader_.ReadEscape(); break;
    case '[': {
      std::size_t at = reader_.Pos();
      Code d = reader_.GetChar();
      if (d == 0 && reader_.Pos() == at) reader_.Fail(msg::kNeedRightBracket);
      if (d == '^') {
        t.kind = tkNegClassOpen;
      } else {
        reader_.StepBack();
        t.kind = tkClassOpen;
      }
      break;
    }
    default: break;
  }
}

void TREScanner::ReadClassToken(Token& t) {
  std::size_t before = reader_.Pos();
  Code a = reader_.GetChar();
  if (a == 0 && reader_.Pos() == before) reader_.Fail(msg::kNeedRightBracket);
  if (a == ']') {
    t.kind = tkClassClose;
    return;
  }
  if (a == '\\') a = reader_.ReadEscape();
  t.kind = tkChar;
  t.code = a;
  before = reader_.Pos();
  Code b = reader_.GetChar();
  if (b == 0 && reader_.Pos() == before) reader_.Fail(msg::kNeedRightBracket);
  if (b != '-') {
    reader_.StepBack();
    return;
  }
  before = reader_.Pos();
  Code c = reader_.GetChar();
  if (c == 0 && reader_.Pos() == before) reader_.Fail(msg::kNeedRightBracket);
  if (c == ']') {
    // '[a-]': the "-" and the "]" are read again as the next tokens.
    reader_.StepBack();
    reader_.StepBack();
    return;
  }
  if (c == '\\') c = reader_.ReadEscape();
  if (c < a) reader_.Fail(msg::kBadRange);
  t.kind = tkRange;
  t.code2 = c;
}

}  // namespace haruvi::regex
