// JIS, EUC and Shift_JIS conversions: one forward pass each into a buffer sized once,
// table-driven where characters of different kinds alternate.
#include "encoding/jis_convert.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "encoding/byte_writer.h"
#include "encoding/sjis_char.h"

namespace haruvi::encoding {

const std::array<unsigned char, 63> HalfKanaTable = {
    0x23, 0x56, 0x57, 0x22, 0x26, 0x72, 0x21, 0x23, 0x25, 0x27, 0x29, 0x63, 0x65, 0x67, 0x43, 0x3C,
    0x22, 0x24, 0x26, 0x28, 0x2A, 0x2B, 0x2D, 0x2F, 0x31, 0x33, 0x35, 0x37, 0x39, 0x3B, 0x3D, 0x3F,
    0x41, 0x44, 0x46, 0x48, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x52, 0x55, 0x58, 0x5B, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x64, 0x66, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6F, 0x73, 0x2B, 0x2C};

unsigned char HalfKanaRow(unsigned char kana) {
  return (kana >= 0xA1 && kana <= 0xA5) || kana == 0xB0 || kana >= 0xDE ? 0x21 : 0x25;
}

BytePair JisPairToSjis(unsigned char j1, unsigned char j2) {
  const unsigned s1 = ((j1 + 1u) >> 1) + (j1 < 0x5F ? 0x70u : 0xB0u);
  unsigned s2;
  if (j1 % 2 == 0) s2 = j2 + 0x7Eu;
  else s2 = j2 <= 0x5F ? j2 + 0x1Fu : j2 + 0x20u;
  return {static_cast<unsigned char>(s1), static_cast<unsigned char>(s2)};
}

BytePair SjisPairToJis(unsigned char s1, unsigned char s2) {
  unsigned j1 = (s1 - (s1 < 0xA0 ? 0x70u : 0xB0u)) * 2u;
  unsigned j2;
  if (s2 < 0x9F) {
    j1 -= 1;
    j2 = s2 <= 0x7F ? s2 - 0x1Fu : s2 - 0x20u;
  } else {
    j2 = s2 - 0x7Eu;
  }
  return {static_cast<unsigned char>(j1), static_cast<unsigned char>(j2)};
}

namespace {

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kVoiced = 0xDE, kSemiVoiced = 0xDF;

bool IsHalfKana(unsigned b) { return b >= 0xA1 && b <= 0xDF; }
bool IsEucByte(unsigned b) { return b >= 0xA1 && b <= 0xFE; }

// The JIS form of kana k with the mark that may follow it; merged says the mark went in.
BytePair KanaWithMark(unsigned char k, int mark, bool& merged) {
  unsigned cell = HalfKanaTable[k - 0xA1];
  merged = false;
  if (mark == kVoiced) {
    if (k == 0xB3) cell = 0x74, merged = true;  // ｳﾞ -> ヴ
    else if ((k >= 0xB6 && k <= 0xC4) || (k >= 0xCA && k <= 0xCE)) cell += 1, merged = true;
  } else if (mark == kSemiVoiced && k >= 0xCA && k <= 0xCE) {
    cell += 2, merged = true;
  }
  return {HalfKanaRow(k), static_cast<unsigned char>(cell)};
}

const unsigned char* Bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

}  // namespace

KanaToJis SjisKanaToJis(std::string_view text, size_t pos) {
  if (pos >= text.size() || !IsHalfKana(Bytes(text)[pos])) return {{0, 0}, 0};
  const int mark = pos + 1 < text.size() ? Bytes(text)[pos + 1] : -1;
  bool merged;
  const BytePair jis = KanaWithMark(Bytes(text)[pos], mark, merged);
  return {jis, merged ? 2u : 1u};
}

KanaToJis EucKanaToJis(std::string_view text, size_t pos) {
  const auto* p = Bytes(text);
  const size_t n = text.size();
  if (pos + 1 >= n || p[pos] != 0x8E || !IsHalfKana(p[pos + 1])) return {{0, 0}, 0};
  const int mark = pos + 3 < n && p[pos + 2] == 0x8E ? p[pos + 3] : -1;
  bool merged;
  const BytePair jis = KanaWithMark(p[pos + 1], mark, merged);
  return {jis, merged ? 4u : 2u};
}

namespace {

bool IsJisByte(unsigned b) { return b >= 0x21 && b <= 0x7E; }

// ---------------------------------------------------------------------------------------
// One character at a time: the rules themselves. The run loops below fall back on them
// for anything out of the ordinary, and the JIS tables are built from them.

// EUC to Shift_JIS: writes the character at p[i] and returns the bytes consumed.
size_t EucToSjisChar(const unsigned char* p, size_t i, size_t n, char*& o) {
  const unsigned char b = p[i];
  if (b >= 0x81 && b <= 0xFE && i + 1 < n) {
    const unsigned char c = p[i + 1];
    if (b == 0x8E) {
      if (IsHalfKana(c)) {
        Put(o, c);
        return 2;
      }
    } else if (IsEucByte(c)) {
      const BytePair s = JisPairToSjis(b & 0x7F, c & 0x7F);
      Put2(o, s[0], s[1]);
      return 2;
    }
  }
  Put(o, b);
  return 1;
}

size_t SjisToEucChar(const unsigned char* p, size_t i, size_t n, char*& o) {
  const unsigned char b = p[i];
  if (IsHalfKana(b)) {
    Put2(o, 0x8E, b);
    return 1;
  }
  if (IsLeadByte(b) && i + 1 < n && IsTrailByte(p[i + 1])) {
    const BytePair j = SjisPairToJis(b, p[i + 1]);
    Put2(o, j[0] | 0x80, j[1] | 0x80);
    return 2;
  }
  Put(o, b);
  return 1;
}

// Writing JIS: the JIS pair of the two-byte character at p[i] and the bytes it takes, or
// 0 when none starts there (the byte is then copied as it is, whatever the mode).
size_t SjisJisChar(const unsigned char* p, size_t i, size_t n, BytePair& jis) {
  if (IsHalfKana(p[i])) {
    const KanaToJis k = SjisKanaToJis(std::string_view(reinterpret_cast<const char*>(p), n), i);
    jis = k.jis;
    return k.consumed;
  }
  if (!IsLeadByte(p[i]) || i + 1 >= n || !IsTrailByte(p[i + 1])) return 0;
  jis = SjisPairToJis(p[i], p[i + 1]);
  return 2;
}

size_t EucJisChar(const unsigned char* p, size_t i, size_t n, BytePair& jis) {
  if (p[i] == 0x8E) {
    const KanaToJis k = EucKanaToJis(std::string_view(reinterpret_cast<const char*>(p), n), i);
    jis = k.jis;
    return k.consumed;
  }
  if (p[i] < 0x81 || p[i] > 0xFE || i + 1 >= n || !IsEucByte(p[i + 1])) return 0;
  jis = {static_cast<unsigned char>(p[i] & 0x7F), static_cast<unsigned char>(p[i + 1] & 0x7F)};
  return 2;
}

// ---------------------------------------------------------------------------------------
// The same rules as tables indexed by a byte and the byte after it (0 at the end of the
// text, which no rule takes for a second byte), so the hot loops do not branch on the
// kind of character. An entry packs the one or two bytes written (bits 0-15), how many
// are written (16-17) and consumed (18-20), and for JIS output whether they are a
// two-byte character (21) or the character must be done by hand (22).

constexpr uint32_t kTwoByte = 1u << 21, kSpecial = 1u << 22;

uint32_t Entry(const char* out, size_t out_len, size_t in_len) {
  uint32_t e = static_cast<unsigned char>(out[0]);
  if (out_len > 1) e |= static_cast<uint32_t>(static_cast<unsigned char>(out[1])) << 8;
  return e | static_cast<uint32_t>(out_len) << 16 | static_cast<uint32_t>(in_len) << 18;
}

using StepTable = std::array<uint32_t, 0x10000>;

template <size_t (*Char)(const unsigned char*, size_t, size_t, BytePair&), bool kEucKana>
const StepTable& JisTable() {
  static const StepTable table = [] {
    StepTable t{};
    for (unsigned k = 0; k < 0x10000; ++k) {
      const unsigned char two[2] = {static_cast<unsigned char>(k >> 8), static_cast<unsigned char>(k)};
      if (kEucKana && two[0] == 0x8E) {  // kana and mark span four bytes: done one by one
        t[k] = kSpecial;
        continue;
      }
      BytePair jis{};
      const size_t used = two[0] < 0x80 ? 0 : Char(two, 0, 2, jis);
      const char copy[1] = {static_cast<char>(two[0])};
      const char pair[2] = {static_cast<char>(jis[0]), static_cast<char>(jis[1])};
      if (used) t[k] = Entry(pair, 2, used) | kTwoByte;
      else t[k] = Entry(copy, 1, 1);
    }
    return t;
  }();
  return table;
}

// The two bytes (first byte low) that `convert` gives for every pair (b1 << 8 | b2).
template <uint16_t (*Convert)(unsigned char, unsigned char)>
const std::array<uint16_t, 0x10000>& PairTable() {
  static const std::array<uint16_t, 0x10000> table = [] {
    std::array<uint16_t, 0x10000> t{};
    for (unsigned k = 0; k < 0x10000; ++k) t[k] = Convert(static_cast<unsigned char>(k >> 8), static_cast<unsigned char>(k));
    return t;
  }();
  return table;
}

uint16_t JisToSjisPair(unsigned char j1, unsigned char j2) {
  const BytePair s = JisPairToSjis(j1, j2);
  return static_cast<uint16_t>(s[0] | s[1] << 8);
}

uint16_t SjisToJisPair(unsigned char s1, unsigned char s2) {
  const BytePair j = SjisPairToJis(s1, s2);
  return static_cast<uint16_t>(j[0] | j[1] << 8);
}

uint16_t SjisToEucPair(unsigned char s1, unsigned char s2) {
  const BytePair j = SjisPairToJis(s1, s2);
  return static_cast<uint16_t>((j[0] | 0x80) | (j[1] | 0x80) << 8);
}

const std::array<uint16_t, 0x10000>& JisPairTable() { return PairTable<JisToSjisPair>(); }
const std::array<uint16_t, 0x10000>& SjisPairToEucTable() { return PairTable<SjisToEucPair>(); }
const std::array<uint16_t, 0x10000>& SjisPairToJisTable() { return PairTable<SjisToJisPair>(); }

uint32_t Lookup(const StepTable& t, const unsigned char* p, size_t i, size_t n) {
  return t[static_cast<unsigned>(p[i]) << 8 | (i + 1 < n ? p[i + 1] : 0u)];
}

void PutPair(char*& o, uint16_t pair) { Put2(o, static_cast<unsigned char>(pair), static_cast<unsigned char>(pair >> 8)); }

// Writing JIS, a run at a time: ESC $ B before a two-byte character in single-byte
// mode, ESC ( J before a byte below 0x80 in two-byte mode, nothing at the end.
// `pair(p, i, n)` gives the JIS pair (first byte low) of an ordinary two-byte character
// at i, or 0; the table does the rest (kana, bytes that start nothing).
template <typename PairFn>
std::string WriteJis(std::string_view text, size_t limit, size_t* used, bool* mode, const StepTable& t, PairFn pair) {
  bool two_byte = mode && *mode;
  std::string out = ConvertPieceInRuns(
      text, limit, used, text.size() + text.size() / 4, 5,
      [&](const unsigned char* p, size_t i, size_t stop, size_t n, char*& o) -> size_t {
        if (p[i] < 0x80) {
          if (two_byte) {
            Put2(o, kEsc, '(');
            Put(o, 'J');
            two_byte = false;
          }
          return CopyAsciiRun(p, i, stop, o);
        }
        while (i < stop && p[i] >= 0x80) {
          if (const uint16_t jis = pair(p, i, n)) {  // the usual case, on its own so the
            if (!two_byte) {                         // next index need not wait for the table
              Put2(o, kEsc, '$');
              Put(o, 'B');
              two_byte = true;
            }
            PutPair(o, jis);
            i += 2;
            continue;
          }
          uint32_t e = Lookup(t, p, i, n);
          if (e & kSpecial) {
            const KanaToJis k = EucKanaToJis(std::string_view(reinterpret_cast<const char*>(p), n), i);
            const char two[2] = {static_cast<char>(k.jis[0]), static_cast<char>(k.jis[1])};
            e = k.consumed ? Entry(two, 2, k.consumed) | kTwoByte : Entry("\x8E", 1, 1);
          }
          if (e & kTwoByte) {
            if (!two_byte) {
              Put2(o, kEsc, '$');
              Put(o, 'B');
              two_byte = true;
            }
            Put2(o, static_cast<unsigned char>(e), static_cast<unsigned char>(e >> 8));
          } else {
            Put(o, static_cast<unsigned char>(e));  // no character starts here: copied
          }
          i += (e >> 18) & 7;
        }
        return i;
      });
  if (mode) *mode = two_byte;
  return out;
}

// Reading JIS: escapes are three bytes wherever they stand; `two_byte_step` handles a
// byte of two-byte mode and returns the next index.
template <typename TwoByteStep>
std::string ReadJis(std::string_view text, size_t limit, size_t* used, bool* mode, TwoByteStep two_byte_step) {
  bool two_byte = mode && *mode;
  std::string out = ConvertPieceInChunks(text, limit, used, text.size(), 1, [&](const unsigned char* p, size_t i, size_t n, char*& o) -> size_t {
    const unsigned char b = p[i];
    if (b == kEsc) {
      if (i + 2 >= n) {  // cut off by the end: keep what is there
        for (; i < n; ++i) Put(o, p[i]);
        return n;
      }
      if (p[i + 1] == '$') two_byte = true;
      else if (p[i + 1] == '(') two_byte = false;
      return i + 3;
    }
    if (!two_byte) {
      Put(o, b);
      return i + 1;
    }
    return two_byte_step(p, i, n, o);
  });
  if (mode) *mode = two_byte;
  return out;
}

std::string JisToSjisPiece(std::string_view text, size_t limit, size_t* used, bool* two_byte_mode) {
  const auto& pairs = JisPairTable();
  return ReadJis(text, limit, used, two_byte_mode, [&pairs](const unsigned char* p, size_t i, size_t n, char*& o) -> size_t {
    // A pair needs both bytes; a line end or control byte in two-byte mode stays itself.
    if (i + 1 >= n || !IsJisByte(p[i]) || !IsJisByte(p[i + 1])) {
      Put(o, p[i]);
      return i + 1;
    }
    const uint16_t s = pairs[static_cast<unsigned>(p[i]) << 8 | p[i + 1]];
    Put2(o, static_cast<unsigned char>(s), static_cast<unsigned char>(s >> 8));
    return i + 2;
  });
}

std::string JisToEucPiece(std::string_view text, size_t limit, size_t* used, bool* two_byte_mode) {
  return ReadJis(text, limit, used, two_byte_mode, [](const unsigned char* p, size_t i, size_t, char*& o) -> size_t {
    Put(o, IsJisByte(p[i]) ? p[i] | 0x80 : p[i]);
    return i + 1;
  });
}

std::string EucToSjisPiece(std::string_view text, size_t limit, size_t* used) {
  const auto& pairs = JisPairTable();
  return ConvertPieceInRuns(text, limit, used, text.size(), 1,
                       [&pairs](const unsigned char* p, size_t i, size_t stop, size_t n, char*& o) -> size_t {
                         if (p[i] < 0x80) return CopyAsciiRun(p, i, stop, o);
                         const size_t start = i;
                         while (i < stop && i + 1 < n && IsEucByte(p[i]) && IsEucByte(p[i + 1])) {
                           PutPair(o, pairs[(p[i] & 0x7Fu) << 8 | (p[i + 1] & 0x7Fu)]);
                           i += 2;
                         }
                         while (i < stop && i + 1 < n && p[i] == 0x8E && IsHalfKana(p[i + 1])) {
                           Put(o, p[i + 1]);
                           i += 2;
                         }
                         return i > start ? i : i + EucToSjisChar(p, i, n, o);
                       });
}

std::string SjisToEucPiece(std::string_view text, size_t limit, size_t* used) {
  const auto& pairs = SjisPairToEucTable();
  return ConvertPieceInRuns(text, limit, used, text.size() + text.size() / 8, 2,
                       [&pairs](const unsigned char* p, size_t i, size_t stop, size_t n, char*& o) -> size_t {
                         if (p[i] < 0x80) return CopyAsciiRun(p, i, stop, o);
                         const size_t start = i;
                         while (i < stop && i + 1 < n && IsLeadByte(p[i]) && IsTrailByte(p[i + 1])) {
                           PutPair(o, pairs[static_cast<unsigned>(p[i]) << 8 | p[i + 1]]);
                           i += 2;
                         }
                         while (i < stop && IsHalfKana(p[i])) {
                           Put2(o, 0x8E, p[i]);
                           ++i;
                         }
                         return i > start ? i : i + SjisToEucChar(p, i, n, o);
                       });
}

std::string SjisToJisPiece(std::string_view text, size_t limit, size_t* used, bool* two_byte_mode) {
  const auto& pairs = SjisPairToJisTable();
  return WriteJis(text, limit, used, two_byte_mode, JisTable<SjisJisChar, false>(), [&pairs](const unsigned char* p, size_t i, size_t n) -> uint16_t {
    // (No pair of the arithmetic is 0: its second byte is at least 0x21.)
    if (i + 1 >= n || !IsLeadByte(p[i]) || !IsTrailByte(p[i + 1])) return 0;
    return pairs[static_cast<unsigned>(p[i]) << 8 | p[i + 1]];
  });
}

std::string EucToJisPiece(std::string_view text, size_t limit, size_t* used, bool* two_byte_mode) {
  return WriteJis(text, limit, used, two_byte_mode, JisTable<EucJisChar, true>(), [](const unsigned char* p, size_t i, size_t n) -> uint16_t {
    if (i + 1 >= n || !IsEucByte(p[i]) || !IsEucByte(p[i + 1])) return 0;
    return static_cast<uint16_t>((p[i] & 0x7F) | (p[i + 1] & 0x7F) << 8);
  });
}

}  // namespace

std::string JisToSjis(std::string_view text) { return JisToSjisPiece(text, text.size(), nullptr, nullptr); }
std::string JisToEuc(std::string_view text) { return JisToEucPiece(text, text.size(), nullptr, nullptr); }
std::string JisToSjis(std::string_view text, bool* two_byte_mode) {
  return JisToSjisPiece(text, text.size(), nullptr, two_byte_mode);
}
std::string JisToEuc(std::string_view text, bool* two_byte_mode) {
  return JisToEucPiece(text, text.size(), nullptr, two_byte_mode);
}
std::string EucToSjis(std::string_view text) { return EucToSjisPiece(text, text.size(), nullptr); }
std::string SjisToEuc(std::string_view text) { return SjisToEucPiece(text, text.size(), nullptr); }
std::string SjisToJis(std::string_view text) { return SjisToJisPiece(text, text.size(), nullptr, nullptr); }
std::string EucToJis(std::string_view text) { return EucToJisPiece(text, text.size(), nullptr, nullptr); }

std::string ConvertCodePiece(TCodingOp op, std::string_view text, size_t limit, bool* two_byte_mode, size_t* used) {
  switch (op) {
    case coJisToSjis: return JisToSjisPiece(text, limit, used, two_byte_mode);
    case coJisToEuc: return JisToEucPiece(text, limit, used, two_byte_mode);
    case coEucToSjis: return EucToSjisPiece(text, limit, used);
    case coSjisToEuc: return SjisToEucPiece(text, limit, used);
    case coSjisToJis: return SjisToJisPiece(text, limit, used, two_byte_mode);
    case coEucToJis: return EucToJisPiece(text, limit, used, two_byte_mode);
    default: break;
  }
  *used = limit;
  return std::string(text.substr(0, limit));
}

std::string ConvertToCode(std::string_view text, TCharCode target) {
  const TCharCode found = DetectCharCode(text);
  const bool jis = found == ccJis83 || found == ccJis78;
  switch (target) {
    case ccJis83:
      if (found == ccEuc) return EucToJis(text);
      if (found == ccSjis) return SjisToJis(text);
      break;
    case ccEuc:
      if (jis) return JisToEuc(text);
      if (found == ccSjis) return SjisToEuc(text);
      break;
    case ccSjis:
      if (jis) return JisToSjis(text);
      if (found == ccEuc) return EucToSjis(text);
      break;
    default:
      break;
  }
  return std::string(text);
}

}  // namespace haruvi::encoding
