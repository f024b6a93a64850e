// JIS, EUC and Shift_JIS conversions: one forward pass each into a buffer sized once.
#include "encoding/jis_convert.h"

#include "encoding/byte_writer.h"

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
bool IsSjisLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsSjisTrail(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
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

// Reading JIS: escapes are three bytes wherever they stand; `pair` writes one two-byte
// character (both bytes in 0x21-0x7E), `other` a byte of two-byte mode that is not one.
template <typename PairFn, typename OtherFn>
std::string ReadJis(std::string_view text, PairFn pair, OtherFn other) {
  const auto* p = Bytes(text);
  const size_t n = text.size();
  ByteWriter out(n);
  bool two_byte = false;
  size_t i = 0;
  while (i < n) {
    out.Reserve(4);
    const unsigned char b = p[i];
    if (b == kEsc) {
      if (i + 2 >= n) {  // cut off: keep what is there
        out.Append(text.substr(i));
        break;
      }
      if (p[i + 1] == '$') two_byte = true;
      else if (p[i + 1] == '(') two_byte = false;
      i += 3;
    } else if (!two_byte) {
      out.Put(b);
      ++i;
    } else {
      i += pair(out, p, i, n) ? 2 : (other(out, b), 1);
    }
  }
  return out.Finish();
}

bool IsJisByte(unsigned b) { return b >= 0x21 && b <= 0x7E; }

}  // namespace

std::string JisToSjis(std::string_view text) {
  return ReadJis(
      text,
      [](ByteWriter& out, const unsigned char* p, size_t i, size_t n) {
        // A pair needs both bytes; a line end or escape in two-byte mode stays itself.
        if (i + 1 >= n || !IsJisByte(p[i]) || !IsJisByte(p[i + 1])) return false;
        const BytePair s = JisPairToSjis(p[i], p[i + 1]);
        out.Put2(s[0], s[1]);
        return true;
      },
      [](ByteWriter& out, unsigned char b) { out.Put(b); });
}

std::string JisToEuc(std::string_view text) {
  return ReadJis(
      text, [](ByteWriter&, const unsigned char*, size_t, size_t) { return false; },
      [](ByteWriter& out, unsigned char b) { out.Put(IsJisByte(b) ? b | 0x80 : b); });
}

std::string EucToSjis(std::string_view text) {
  const auto* p = Bytes(text);
  const size_t n = text.size();
  ByteWriter out(n);
  size_t i = 0;
  while (i < n) {
    out.Reserve(2);
    const unsigned char b = p[i];
    if (b >= 0x81 && b <= 0xFE && i + 1 < n) {
      const unsigned char c = p[i + 1];
      if (b == 0x8E && IsHalfKana(c)) {
        out.Put(c);
        i += 2;
        continue;
      }
      if (b != 0x8E && IsEucByte(c)) {
        const BytePair s = JisPairToSjis(b & 0x7F, c & 0x7F);
        out.Put2(s[0], s[1]);
        i += 2;
        continue;
      }
    }
    out.Put(b);
    ++i;
  }
  return out.Finish();
}

std::string SjisToEuc(std::string_view text) {
  const auto* p = Bytes(text);
  const size_t n = text.size();
  ByteWriter out(n + n / 8);
  size_t i = 0;
  while (i < n) {
    out.Reserve(2);
    const unsigned char b = p[i];
    if (b < 0x80) {
      out.Put(b);
      ++i;
    } else if (IsHalfKana(b)) {
      out.Put2(0x8E, b);
      ++i;
    } else if (IsSjisLead(b) && i + 1 < n && IsSjisTrail(p[i + 1])) {
      const BytePair j = SjisPairToJis(b, p[i + 1]);
      out.Put2(j[0] | 0x80, j[1] | 0x80);
      i += 2;
    } else {
      out.Put(b);
      ++i;
    }
  }
  return out.Finish();
}

namespace {

// Writing JIS: `two_byte_char` returns the bytes consumed by the character at i and
// writes its JIS pair, or 0 when no character starts there (the byte is copied as is).
template <typename CharFn>
std::string WriteJis(std::string_view text, CharFn two_byte_char) {
  const auto* p = Bytes(text);
  const size_t n = text.size();
  ByteWriter out(n + n / 4 + 8);
  bool two_byte = false;
  size_t i = 0;
  while (i < n) {
    out.Reserve(8);
    const unsigned char b = p[i];
    if (b < 0x80) {
      if (two_byte) {
        out.Put2(kEsc, '(');
        out.Put('J');
        two_byte = false;
      }
      out.Put(b);
      ++i;
      continue;
    }
    BytePair jis{};
    const size_t used = two_byte_char(p, i, n, text, jis);
    if (used == 0) {
      out.Put(b);
      ++i;
      continue;
    }
    if (!two_byte) {
      out.Put2(kEsc, '$');
      out.Put('B');
      two_byte = true;
    }
    out.Put2(jis[0], jis[1]);
    i += used;
  }
  return out.Finish();
}

}  // namespace

std::string SjisToJis(std::string_view text) {
  return WriteJis(text, [](const unsigned char* p, size_t i, size_t n, std::string_view t, BytePair& jis) -> size_t {
    if (IsHalfKana(p[i])) {
      const KanaToJis k = SjisKanaToJis(t, i);
      jis = k.jis;
      return k.consumed;
    }
    if (!IsSjisLead(p[i]) || i + 1 >= n || !IsSjisTrail(p[i + 1])) return 0;
    jis = SjisPairToJis(p[i], p[i + 1]);
    return 2;
  });
}

std::string EucToJis(std::string_view text) {
  return WriteJis(text, [](const unsigned char* p, size_t i, size_t n, std::string_view t, BytePair& jis) -> size_t {
    if (p[i] == 0x8E) {
      const KanaToJis k = EucKanaToJis(t, i);
      jis = k.jis;
      return k.consumed;
    }
    if (p[i] < 0x81 || p[i] > 0xFE || i + 1 >= n || !IsEucByte(p[i + 1])) return 0;
    jis = {static_cast<unsigned char>(p[i] & 0x7F), static_cast<unsigned char>(p[i + 1] & 0x7F)};
    return 2;
  });
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
