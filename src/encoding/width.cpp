// Width conversion tables and the three walks over the text.
#include "encoding/width.h"

#include <array>
#include <cstdint>

#include "encoding/byte_writer.h"
#include "encoding/jis_convert.h"
#include "encoding/sjis_char.h"

namespace haruvi::encoding {
namespace {

constexpr unsigned char kVoiced = 0xDE, kSemiVoiced = 0xDF;

// Half-width symbol and its full-width partner (Shift_JIS pair).
struct Symbol {
  unsigned char half, lead, trail;
};
constexpr Symbol kSymbols[39] = {
    {0x20, 0x81, 0x40}, {0x21, 0x81, 0x49}, {0x22, 0x81, 0x68}, {0x23, 0x81, 0x94}, {0x24, 0x81, 0x90},
    {0x25, 0x81, 0x93}, {0x26, 0x81, 0x95}, {0x27, 0x81, 0x66}, {0x28, 0x81, 0x69}, {0x29, 0x81, 0x6A},
    {0x3D, 0x81, 0x81}, {0x60, 0x81, 0x65}, {0x7C, 0x81, 0x62}, {0x2D, 0x81, 0x7C}, {0x5E, 0x81, 0x4F},
    {0x5C, 0x81, 0x8F}, {0x7E, 0x81, 0x50}, {0x7B, 0x81, 0x6F}, {0x40, 0x81, 0x97}, {0x5B, 0x81, 0x6D},
    {0x2B, 0x81, 0x7B}, {0x2A, 0x81, 0x96}, {0x7D, 0x81, 0x70}, {0x3B, 0x81, 0x47}, {0x3A, 0x81, 0x46},
    {0x5D, 0x81, 0x6E}, {0x3C, 0x81, 0x83}, {0x3E, 0x81, 0x84}, {0x3F, 0x81, 0x48}, {0x5F, 0x81, 0x51},
    {0xA4, 0x81, 0x41}, {0xA1, 0x81, 0x42}, {0xA5, 0x81, 0x45}, {0x2C, 0x81, 0x43}, {0x2E, 0x81, 0x44},
    {0x2F, 0x81, 0x5E}, {0xB0, 0x81, 0x5B}, {0xA2, 0x81, 0x75}, {0xA3, 0x81, 0x76}};

struct SymbolTables {
  std::array<uint16_t, 256> full{};      // half byte -> full-width pair, 0 when none
  std::array<uint8_t, 256> half_of{};    // trail byte of a 0x81 pair -> half byte, 0 when none
  constexpr SymbolTables() {
    for (const Symbol& s : kSymbols) {
      full[s.half] = static_cast<uint16_t>((s.lead << 8) | s.trail);
      half_of[s.trail] = s.half;
    }
  }
};
constexpr SymbolTables kSymbolTables;

bool IsKanaWithEntry(unsigned b) { return (b >= 0xA6 && b <= 0xAF) || (b >= 0xB1 && b <= 0xDD); }
bool TakesVoicing(unsigned b) { return (b >= 0xB6 && b <= 0xC4) || (b >= 0xCA && b <= 0xCE); }
bool TakesSemiVoicing(unsigned b) { return b >= 0xCA && b <= 0xCE; }

// Kana cell 0x21-0x76 (rows 0x24 and 0x25 alike) -> v: half-width byte 0xA6 + v % 56,
// followed by ﾞ when v / 56 is 1 and by ﾟ when it is 2.
struct HalfWidthTable {
  std::array<uint8_t, 0x77> v{};
  constexpr explicit HalfWidthTable(const std::array<unsigned char, 63>& cells) {
    for (unsigned k = 0xA6; k <= 0xDD; ++k) {
      if (k == 0xB0) continue;
      const unsigned cell = cells[k - 0xA1];
      v[cell] = static_cast<uint8_t>(k - 0xA6);
      if (TakesVoicing(k)) v[cell + 1] = static_cast<uint8_t>(k - 0xA6 + 56);
      if (TakesSemiVoicing(k)) v[cell + 2] = static_cast<uint8_t>(k - 0xA6 + 112);
    }
    v[0x74] = static_cast<uint8_t>(0xB3 - 0xA6 + 56);  // ヴ -> ｳﾞ
    v[0x6E] = 0xDC - 0xA6;                               // ヮ -> ﾜ
    v[0x70] = 0xB2 - 0xA6;                               // ヰ -> ｲ
    v[0x71] = 0xB4 - 0xA6;                               // ヱ -> ｴ
    v[0x75] = 0xB6 - 0xA6;                               // ヵ -> ｶ
    v[0x76] = 0xB9 - 0xA6;                               // ヶ -> ｹ
  }
};

const HalfWidthTable& HalfWidth() {
  static const HalfWidthTable table(HalfKanaTable);
  return table;
}

void PutJis(char*& o, unsigned char row, unsigned char cell) {
  const BytePair s = JisPairToSjis(row, cell);
  Put2(o, s[0], s[1]);
}

}  // namespace

namespace {

std::string HankakuToZenkakuPiece(std::string_view text, size_t limit, size_t* used) {
  return ConvertPieceInChunks(text, limit, used, 2 * text.size(), 2, [](const unsigned char* p, size_t i, size_t n, char*& o) -> size_t {
    const unsigned char b = p[i];
    if (IsLeadByte(b) && i + 1 < n && IsTrailByte(p[i + 1])) {
      Put2(o, b, p[i + 1]);
      return i + 2;
    }
    if (IsKanaWithEntry(b)) {
      unsigned cell = HalfKanaTable[b - 0xA1];
      const int mark = i + 1 < n && (p[i + 1] == kVoiced || p[i + 1] == kSemiVoiced) ? p[i + 1] : 0;
      const bool merges = (mark == kVoiced && TakesVoicing(b)) || (mark == kSemiVoiced && TakesSemiVoicing(b));
      if (merges) cell += mark == kVoiced ? 1 : 2;
      PutJis(o, 0x25, static_cast<unsigned char>(cell));
      if (mark && !merges) PutJis(o, 0x21, mark == kVoiced ? 0x2B : 0x2C);
      return i + (mark ? 2 : 1);
    }
    if ((b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')) {
      PutJis(o, 0x23, b);
    } else if (const uint16_t full = kSymbolTables.full[b]) {
      Put2(o, static_cast<unsigned char>(full >> 8), static_cast<unsigned char>(full));
    } else {
      Put(o, b);
    }
    return i + 1;
  });
}

std::string ZenkakuToHankakuPiece(std::string_view text, size_t limit, size_t* used) {
  const HalfWidthTable& half = HalfWidth();
  return ConvertPieceInChunks(text, limit, used, text.size(), 1, [&half](const unsigned char* p, size_t i, size_t n, char*& o) -> size_t {
    const unsigned char b = p[i];
    if (!(IsLeadByte(b) && i + 1 < n && IsTrailByte(p[i + 1]))) {
      Put(o, b);
      return i + 1;
    }
    const unsigned char c = p[i + 1];
    const BytePair jis = SjisPairToJis(b, c);
    if ((jis[0] == 0x24 || jis[0] == 0x25) && jis[1] >= 0x21 && jis[1] <= 0x76) {
      const unsigned v = half.v[jis[1]];
      Put(o, static_cast<unsigned char>(0xA6 + v % 56));
      if (v / 56 == 1) Put(o, kVoiced);
      if (v / 56 == 2) Put(o, kSemiVoiced);
    } else if (b == 0x81 && kSymbolTables.half_of[c]) {
      Put(o, kSymbolTables.half_of[c]);
    } else if (jis[0] == 0x23) {
      Put(o, jis[1]);
    } else {
      Put2(o, b, c);
    }
    return i + 2;
  });
}

std::string HalfKanaToFullPiece(std::string_view text, size_t limit, size_t* used) {
  return ConvertPieceInChunks(text, limit, used, 2 * text.size(), 2, [](const unsigned char* p, size_t i, size_t n, char*& o) -> size_t {
    const unsigned char b = p[i];
    if (b >= 0xA1 && b <= 0xDF) {
      PutJis(o, HalfKanaRow(b), HalfKanaTable[b - 0xA1]);
      return i + 1;
    }
    if (IsLeadByte(b) && i + 1 < n) {
      Put2(o, b, p[i + 1]);
      return i + 2;
    }
    Put(o, b);
    return i + 1;
  });
}

}  // namespace

std::string HankakuToZenkaku(std::string_view text) { return HankakuToZenkakuPiece(text, text.size(), nullptr); }
std::string ZenkakuToHankaku(std::string_view text) { return ZenkakuToHankakuPiece(text, text.size(), nullptr); }
std::string HalfKanaToFull(std::string_view text) { return HalfKanaToFullPiece(text, text.size(), nullptr); }

std::string ConvertWidthPiece(WidthOp op, std::string_view text, size_t limit, size_t* used) {
  switch (op) {
    case WidthOp::kHankakuToZenkaku: return HankakuToZenkakuPiece(text, limit, used);
    case WidthOp::kZenkakuToHankaku: return ZenkakuToHankakuPiece(text, limit, used);
    case WidthOp::kHalfKanaToFull: return HalfKanaToFullPiece(text, limit, used);
  }
  *used = limit;
  return std::string(text.substr(0, limit));
}

}  // namespace haruvi::encoding
