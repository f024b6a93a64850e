// EUC-JP for the text pane: decoded through CP932's tables by the JIS pair arithmetic (so
// an EUC-JP text shows the very characters its Shift_JIS conversion would), JIS X 0212 and
// half-width kana besides; every byte that starts no character is a raw unit, so
// Encode(Decode(bytes)) == bytes for every byte string.
#include <algorithm>

#include "encoding/jis_convert.h"
#include "encoding/pane_codec_tables.h"

namespace haruvi::encoding {
namespace {

bool IsEucByte(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }
bool IsSelector(char16_t u) { return u >= PaneCodec::kSelectorBase && u < PaneCodec::kSelectorBase + 16; }

// The character at p[i] (n bytes in all): its length (0 when p[i] starts none), its unit
// and its duplicate rank in CP932 (0: the preferred code).
struct EucChar {
  size_t length = 0;
  char16_t unit = 0;
  uint8_t dup = 0;
};

EucChar CharAt(const PaneCodec::Tables& t, const unsigned char* p, size_t i, size_t n) {
  const unsigned b = p[i];
  if (b == 0x1B && t.escapes) {
    const int e = JisEscapeAt(std::string_view(reinterpret_cast<const char*>(p) + i, n - i));
    if (e >= 0) return {kJisEscapes[e].size(), static_cast<char16_t>(PaneCodec::kEscapeBase + e), 0};
  }
  if (b < 0x80) return {1, static_cast<char16_t>(b), 0};
  if (i + 1 >= n) return {};
  const unsigned c = p[i + 1];
  if (b == 0x8E) {
    if (c >= 0xA1 && c <= 0xDF) return {2, t.cp932->single[c], 0};
    return {};
  }
  if (b == 0x8F) {
    if (i + 2 >= n || !IsEucByte(static_cast<unsigned char>(c)) || !IsEucByte(p[i + 2])) return {};
    const char16_t u = t.jis0212[(c - 0xA1) * 94 + (p[i + 2] - 0xA1)];
    return u ? EucChar{3, u, 0} : EucChar{};
  }
  if (!IsEucByte(static_cast<unsigned char>(b)) || !IsEucByte(static_cast<unsigned char>(c))) return {};
  const BytePair s = JisPairToSjis(static_cast<unsigned char>(b & 0x7F), static_cast<unsigned char>(c & 0x7F));
  const unsigned code = (static_cast<unsigned>(s[0]) << 8) | s[1];
  const char16_t u = t.cp932->pair[code];
  return u >= 0x80 ? EucChar{2, u, t.cp932->pair_dup[code]} : EucChar{};
}

void PutCode(std::string& out, uint32_t code) {
  if (code > 0xFFFF) out.push_back(static_cast<char>(code >> 16));
  if (code > 0xFF) out.push_back(static_cast<char>((code >> 8) & 0xFF));
  out.push_back(static_cast<char>(code & 0xFF));
}

}  // namespace

int JisEscapeAt(std::string_view bytes) {
  if (bytes.size() < 3 || bytes[0] != '\x1B') return -1;
  for (int e = 0; e < PaneCodec::kEscapeCount; ++e)
    if (bytes.starts_with(kJisEscapes[e])) return e;
  return -1;
}

size_t EucCharLength(const PaneCodec::Tables& t, std::string_view bytes) {
  if (bytes.empty()) return 0;
  return std::max<size_t>(1, CharAt(t, reinterpret_cast<const unsigned char*>(bytes.data()), 0, bytes.size()).length);
}

std::u16string DecodeEuc(const PaneCodec::Tables& t, std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  std::u16string out;
  out.reserve(n);
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80 && (p[i] != 0x1B || !t.escapes)) {
      out.push_back(p[i++]);
      continue;
    }
    const EucChar ch = CharAt(t, p, i, n);
    if (ch.length == 0) {
      out.push_back(static_cast<char16_t>(PaneCodec::kRawByteBase + p[i++]));
      continue;
    }
    out.push_back(ch.unit);
    if (ch.dup) out.push_back(static_cast<char16_t>(PaneCodec::kSelectorBase + ch.dup - 1));
    i += ch.length;
  }
  return out;
}

std::string EncodeEuc(const PaneCodec::Tables& t, std::u16string_view text, size_t* unmappable) {
  std::string out;
  out.reserve(text.size() * 2);
  size_t missing = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t u = text[i];
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
      continue;
    }
    if (PaneCodec::IsEscape(u) && t.escapes) {
      out += kJisEscapes[u - PaneCodec::kEscapeBase];
      continue;
    }
    if (u >= PaneCodec::kRawByteBase && u < PaneCodec::kRawByteBase + 256) {
      out.push_back(static_cast<char>(PaneCodec::RawByteValue(u)));
      continue;
    }
    if (u >= 0xD800 && u <= 0xDFFF) {  // outside the BMP, or a stray surrogate
      if (u < 0xDC00 && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
      out += t.substitute;
      ++missing;
      continue;
    }
    if (IsSelector(u)) {  // no character before it carries this duplicate
      ++missing;
      continue;
    }
    if (i + 1 < n && IsSelector(text[i + 1])) {
      const uint32_t key = (static_cast<uint32_t>(u) << 8) | static_cast<uint32_t>(text[i + 1] - PaneCodec::kSelectorBase + 1);
      if (auto it = t.cp932->duplicates.find(key); it != t.cp932->duplicates.end()) {
        const uint32_t code = it->second & 0xFFFF;
        const BytePair j = SjisPairToJis(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code & 0xFF));
        if ((it->second >> 16) == 2 && j[0] >= 0x21 && j[0] <= 0x7E && j[1] >= 0x21 && j[1] <= 0x7E) {
          out.push_back(static_cast<char>(j[0] | 0x80));
          out.push_back(static_cast<char>(j[1] | 0x80));
          ++i;
          continue;
        }
      }
    }
    if (const uint32_t code = t.euc_encode[u]) {
      PutCode(out, code);
    } else {
      out += t.substitute;
      ++missing;
    }
  }
  if (unmappable) *unmappable = missing;
  return out;
}

}  // namespace haruvi::encoding
