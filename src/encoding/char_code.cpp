// Character-code detection: a binary check over the leading bytes, then one forward
// classification pass that stops at the first deciding byte. Texts that must be scanned
// whole (ASCII, or only pairs that fit both EUC and Shift_JIS) are skipped 64 bytes at a
// time with SSE2 wherever a block provably decides nothing.
#include "encoding/char_code.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace haruvi::encoding {

std::string CharCodeName(TCharCode code) {
  switch (code) {
    case ccAscii: return "ASCII";
    case ccBinary: return "\xEF\xBE\x8A\xEF\xBE\x9E\xEF\xBD\xB2\xEF\xBE\x85\xEF\xBE\x98";  // ﾊﾞｲﾅﾘ
    case ccJis83: return "JIS83";
    case ccJis78: return "JIS78";
    case ccEuc: return "EUC";
    case ccSjis: return "\xEF\xBD\xBC\xEF\xBE\x8C\xEF\xBE\x84JIS";  // ｼﾌﾄJIS
    case ccEucOrSjis: return "EUC+\xEF\xBD\xBC\xEF\xBE\x8C\xEF\xBE\x84JIS";  // EUC+ｼﾌﾄJIS
  }
  return "";
}

namespace {

bool IsBinaryByte(unsigned b) { return b <= 0x07 || b == 0xFF; }

// Classifies the character whose lead byte is p[i] (i < last, so p[i + 1] exists) and
// returns the index after the bytes it looked at. `result` changes only on a decision
// or to ccEucOrSjis.
size_t Step(const unsigned char* p, size_t i, size_t n, TCharCode& result) {
  const unsigned b = p[i];
  const unsigned c = p[i + 1];
  if (b == 0x1B) {
    if (c != '$') return i + 2;
    if (i + 2 >= n) return n;  // ESC $ cut off by the end decides nothing
    if (p[i + 2] == 'B') result = ccJis83;
    else if (p[i + 2] == '@') result = ccJis78;
    return i + 3;
  }
  if (IsBinaryByte(b)) {
    result = ccBinary;
    return i + 1;
  }
  if (b < 0x80 || b == 0x80 || b == 0xA0) return i + 1;
  if (b <= 0x9F) {
    if (b != 0x8E) {
      result = ccSjis;
      return i + 1;
    }
    if ((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xA0) || (c >= 0xE0 && c <= 0xFC)) result = ccSjis;
    else if (c >= 0xA1 && c <= 0xDF) result = ccEucOrSjis;
    return i + 2;
  }
  if (b <= 0xDF) {  // 0xA1-0xDF
    if (c >= 0xF0 && c <= 0xFE) result = ccEuc;
    else if (c >= 0xA1 && c <= 0xDF) result = ccEucOrSjis;
    else if (c <= 0x9F) result = ccSjis;
    else if (c >= 0xE0 && c <= 0xEF) {
      // A half-width kana before a kanji, or one EUC character: read on until a byte
      // below 0x40 or a deciding byte; the ending byte goes with the run.
      result = ccEucOrSjis;
      size_t j = i + 1;
      while (j < n && p[j] >= 0x40 && result == ccEucOrSjis) {
        const unsigned x = p[j];
        if ((x >= 0x81 && x <= 0x8D) || (x >= 0x8F && x <= 0x9C)) result = ccSjis;
        else if (x == 0xFD || x == 0xFE) result = ccEuc;
        ++j;
      }
      return j < n ? j + 1 : n;
    }
    return i + 2;
  }
  if (b <= 0xEF) {
    if ((c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xA0)) result = ccSjis;
    else if (c == 0xFD || c == 0xFE) result = ccEuc;
    else if (c >= 0xA1 && c <= 0xFC) result = ccEucOrSjis;
    return i + 2;
  }
  result = ccEuc;  // 0xF0-0xFE
  return i + 1;
}

#if defined(__SSE2__)

struct BlockScan {
  size_t plain;  // leading bytes that decide nothing and end on a character boundary
  size_t care;   // first byte the block cannot vouch for (64: none)
  bool pairs;    // the plain part holds pairs of 0xA1-0xDF
};

// Looks at 64 bytes starting on a character boundary. Plain bytes are ordinary ASCII
// (0x08-0x7F, not ESC) and runs of 0xA1-0xDF of even length: pairs that fit both codes.
BlockScan ScanBlock(const unsigned char* p) {
  const __m128i k08 = _mm_set1_epi8(0x08), kEsc = _mm_set1_epi8(0x1B);
  const __m128i kA1 = _mm_set1_epi8(static_cast<char>(0xA1)), kDF = _mm_set1_epi8(static_cast<char>(0xDF));
  __m128i v[4], ascii[4];
  __m128i all = _mm_set1_epi8(-1);
  for (int k = 0; k < 4; ++k) {
    v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
    const __m128i ge08 = _mm_cmpeq_epi8(_mm_max_epu8(v[k], k08), v[k]);
    ascii[k] = _mm_andnot_si128(v[k], _mm_andnot_si128(_mm_cmpeq_epi8(v[k], kEsc), ge08));
    all = _mm_and_si128(all, ascii[k]);
  }
  if (_mm_movemask_epi8(all) == 0xFFFF) return {64, 64, false};

  uint64_t ordinary = 0, high = 0;
  for (int k = 0; k < 4; ++k) {
    const __m128i in_range = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(v[k], kA1), v[k]),
                                           _mm_cmpeq_epi8(_mm_min_epu8(v[k], kDF), v[k]));
    ordinary |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(ascii[k]))) << (16 * k);
    high |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(in_range))) << (16 * k);
  }
  // Runs of high bytes of odd length end on the bit after them (runs that reach the end
  // of the block carry out and are left to the next block).
  const uint64_t kEven = 0x5555555555555555ULL, kOdd = ~kEven;
  const uint64_t starts = high & ~(high << 1);
  const uint64_t even_ends = ((starts & kEven) + high) & ~high;
  const uint64_t odd_ends = ((starts & kOdd) + high) & ~high;
  const uint64_t trouble = ~(ordinary | high) | (even_ends & kOdd) | (odd_ends & kEven);
  const size_t care = trouble ? static_cast<size_t>(__builtin_ctzll(trouble)) : 64;
  size_t plain = care;
  if (care > 0 && (high >> (care - 1)) & 1) {
    // The run before `care` is unfinished or odd: stop where it starts.
    const uint64_t earlier = care == 64 ? starts : starts & ((uint64_t{1} << care) - 1);
    plain = static_cast<size_t>(63 - __builtin_clzll(earlier));
    if (plain == 0 && care == 64) plain = 64;  // the whole block is one run of 32 pairs
  }
  const uint64_t plain_mask = plain == 64 ? ~uint64_t{0} : (uint64_t{1} << plain) - 1;
  return {plain, care, (high & plain_mask) != 0};
}

#endif

}  // namespace

TCharCode DetectCharCode(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (n < 2) return ccAscii;
  const size_t last = n - 1;  // the last byte is never a lead byte
  for (size_t i = 0, limit = std::min(last, BinaryScanLimit); i < limit; ++i)
    if (IsBinaryByte(p[i])) return ccBinary;

  TCharCode result = ccAscii;
  size_t i = 0;
  [[maybe_unused]] size_t resume = 0;  // where block skipping may start again
  while (i < last) {
#if defined(__SSE2__)
    if (i >= resume && i + 64 <= last) {
      const size_t start = i;
      const BlockScan block = ScanBlock(p + i);
      i += block.plain;
      if (block.pairs) result = ccEucOrSjis;
      if (block.plain == 64) continue;
      resume = block.care == 64 ? i : start + block.care + 1;
      if (i >= last) break;
    }
#endif
    i = Step(p, i, n, result);
    if (result != ccAscii && result != ccEucOrSjis) return result;
  }
  return result;
}

}  // namespace haruvi::encoding
