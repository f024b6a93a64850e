// UTF-8 validation by three table lookups a byte (Keiser and Lemire's method): the high
// and low nibble of the previous byte and the high nibble of the current one each name a
// set of possible errors; the sets' intersection is the error found at that byte, and the
// bytes two and three back say where a continuation byte must stand. The vector loop
// stops at the last whole 32-byte block; the scalar loop finishes from the start of the
// sequence that block boundary cuts, which also decides a cut tail.
#include "encoding/utf8_scan.h"

#include <cstdint>
#include <cstring>

#include "encoding/utf8.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define HARUVI_UTF8_AVX2 1
#endif

namespace haruvi::encoding {
namespace {

inline unsigned char At(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// A well-formed sequence cut off by the end of `t` (which starts at its lead byte).
bool IsCutSequence(std::string_view t) {
  const unsigned char c = At(t, 0);
  std::size_t need;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) need = 2;
  else if (c >= 0xE0 && c <= 0xEF) need = 3;
  else if (c >= 0xF0 && c <= 0xF4) need = 4;
  else return false;
  if (t.size() >= need) return false;
  if (c == 0xE0) lo = 0xA0;
  else if (c == 0xED) hi = 0x9F;
  else if (c == 0xF0) lo = 0x90;
  else if (c == 0xF4) hi = 0x8F;
  for (std::size_t k = 1; k < t.size(); ++k) {
    const unsigned char b = At(t, k);
    if (k == 1 ? (b < lo || b > hi) : (b & 0xC0) != 0x80) return false;
  }
  return true;
}

Utf8Scan ScanFrom(std::string_view s, std::size_t i, Utf8Scan r) {
  const std::size_t n = s.size();
  while (i < n) {
    if (i + 8 <= n) {
      std::uint64_t w;
      std::memcpy(&w, s.data() + i, 8);
      if (!(w & 0x8080808080808080ULL)) {
        i += 8;
        continue;
      }
    }
    if (At(s, i) < 0x80) {
      ++i;
      continue;
    }
    r.multibyte = true;
    if (const std::size_t len = Utf8SequenceAt(s, i)) {
      (len >= 3 ? r.leads34 : r.leads2) += 1;
      i += len;
      continue;
    }
    if (IsCutSequence(s.substr(i))) {
      r.cut_tail = n - i;
    } else {
      r.valid = false;
    }
    return r;
  }
  return r;
}

#ifdef HARUVI_UTF8_AVX2

constexpr std::size_t kCountedBytes = 1 << 20;

// The error bits of the lookup tables.
constexpr char kTooShort = 1 << 0;   // a lead followed by ASCII or another lead
constexpr char kTooLong = 1 << 1;    // ASCII followed by a continuation
constexpr char kOverlong3 = 1 << 2;  // E0 80..9F
constexpr char kTooLarge = 1 << 3;   // F4 90.., F5..
constexpr char kSurrogate = 1 << 4;  // ED A0..BF
constexpr char kOverlong2 = 1 << 5;  // C0, C1
constexpr char kTooLarge1000 = 1 << 6;
constexpr char kOverlong4 = 1 << 6;  // F0 80..8F
constexpr char kTwoConts = static_cast<char>(1 << 7);
constexpr char kCarry = kTooShort | kTooLong | kTwoConts;

__attribute__((target("avx2"))) inline __m256i Table(char a0, char a1, char a2, char a3, char a4, char a5, char a6,
                                                     char a7, char a8, char a9, char a10, char a11, char a12,
                                                     char a13, char a14, char a15) {
  return _mm256_setr_epi8(a0, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15, a0, a1, a2, a3, a4,
                          a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15);
}

template <int N>
__attribute__((target("avx2"))) inline __m256i Prev(__m256i input, __m256i prev_input) {
  return _mm256_alignr_epi8(input, _mm256_permute2x128_si256(prev_input, input, 0x21), 16 - N);
}

__attribute__((target("avx2"))) inline __m256i HighNibble(__m256i v) {
  return _mm256_and_si256(_mm256_srli_epi16(v, 4), _mm256_set1_epi8(0x0F));
}

// The errors of one block, given the block before it.
__attribute__((target("avx2"))) inline __m256i BlockErrors(__m256i input, __m256i prev_input) {
  const __m256i prev1 = Prev<1>(input, prev_input);
  const __m256i byte_1_high = _mm256_shuffle_epi8(
      Table(kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTwoConts, kTwoConts,
            kTwoConts, kTwoConts, kTooShort | kOverlong2, kTooShort, kTooShort | kOverlong3 | kSurrogate,
            kTooShort | kTooLarge | kTooLarge1000 | kOverlong4),
      HighNibble(prev1));
  constexpr char kLarge = kCarry | kTooLarge | kTooLarge1000;
  const __m256i byte_1_low = _mm256_shuffle_epi8(
      Table(kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry, kCarry | kTooLarge,
            kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge, kLarge | kSurrogate, kLarge, kLarge),
      _mm256_and_si256(prev1, _mm256_set1_epi8(0x0F)));
  constexpr char kCont8 = kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4;
  constexpr char kCont9 = kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge;
  constexpr char kContAB = kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge;
  const __m256i byte_2_high = _mm256_shuffle_epi8(
      Table(kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kCont8, kCont9,
            kContAB, kContAB, kTooShort, kTooShort, kTooShort, kTooShort),
      HighNibble(input));
  const __m256i special = _mm256_and_si256(_mm256_and_si256(byte_1_high, byte_1_low), byte_2_high);
  // Third and fourth bytes of a sequence must be continuations: flag them as expected.
  const __m256i prev2 = Prev<2>(input, prev_input);
  const __m256i prev3 = Prev<3>(input, prev_input);
  const __m256i third = _mm256_subs_epu8(prev2, _mm256_set1_epi8(static_cast<char>(0xE0 - 0x80)));
  const __m256i fourth = _mm256_subs_epu8(prev3, _mm256_set1_epi8(static_cast<char>(0xF0 - 0x80)));
  const __m256i must23 = _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(static_cast<char>(0x80)));
  return _mm256_xor_si256(must23, special);
}

// The sum of the 32 byte lanes.
__attribute__((target("avx2"))) inline std::size_t SumLanes(__m256i v) {
  const __m256i s = _mm256_sad_epu8(v, _mm256_setzero_si256());
  return static_cast<std::size_t>(_mm256_extract_epi64(s, 0) + _mm256_extract_epi64(s, 1) +
                                  _mm256_extract_epi64(s, 2) + _mm256_extract_epi64(s, 3));
}

// Checks whole blocks; returns the bytes checked. Lead bytes are counted over the first
// kCountedBytes (and on until the first three- or four-byte lead): counting halves the
// speed, and the evidence shows in a text's beginning.
__attribute__((target("avx2"))) std::size_t ScanBlocks(const char* p, std::size_t n, bool* error, bool* high, Utf8Scan* counts) {
  __m256i prev = _mm256_setzero_si256();
  __m256i errors = _mm256_setzero_si256();
  __m256i any = _mm256_setzero_si256();
  const __m256i c0 = _mm256_set1_epi8(static_cast<char>(0xC0));
  const __m256i e0 = _mm256_set1_epi8(static_cast<char>(0xE0));
  std::size_t leads = 0, wide = 0;
  // Per-byte-lane counts, summed before a lane can overflow.
  __m256i lane_leads = _mm256_setzero_si256(), lane_wide = _mm256_setzero_si256();
  int lane_blocks = 0;
  bool counting = true;
  std::size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i in = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    any = _mm256_or_si256(any, in);
    // ASCII after ASCII needs no lookup; a block of ASCII after a cut sequence is
    // caught by its first byte's lookup, so the shortcut needs a clean previous tail.
    if (_mm256_movemask_epi8(in) == 0) {
      const __m256i cut = _mm256_subs_epu8(prev, _mm256_setr_epi8(
          -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
          -1, -1, -1, static_cast<char>(0xEF), static_cast<char>(0xDF), static_cast<char>(0xBF)));
      if (_mm256_testz_si256(cut, cut)) {
        prev = in;
        continue;
      }
    }
    if (counting) {
      lane_leads = _mm256_sub_epi8(lane_leads, _mm256_cmpeq_epi8(_mm256_max_epu8(in, c0), in));
      lane_wide = _mm256_sub_epi8(lane_wide, _mm256_cmpeq_epi8(_mm256_max_epu8(in, e0), in));
      if (++lane_blocks == 255) {
        leads += SumLanes(lane_leads);
        wide += SumLanes(lane_wide);
        lane_leads = lane_wide = _mm256_setzero_si256();
        lane_blocks = 0;
        counting = i < kCountedBytes || wide == 0;
      }
    }
    errors = _mm256_or_si256(errors, BlockErrors(in, prev));
    prev = in;
    // A legacy text fails early: stop there rather than read the rest (a grep over a
    // tree looks at thousands of small files). The counts only matter in a valid text.
    if ((i & 0x3FF) == 0x3E0 && !_mm256_testz_si256(errors, errors)) break;
  }
  *error = !_mm256_testz_si256(errors, errors);
  *high = _mm256_movemask_epi8(any) != 0;
  leads += SumLanes(lane_leads);
  wide += SumLanes(lane_wide);
  counts->leads2 = leads - wide;
  counts->leads34 = wide;
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

#endif  // HARUVI_UTF8_AVX2

}  // namespace

Utf8Scan ScanUtf8Scalar(std::string_view bytes) { return ScanFrom(bytes, 0, Utf8Scan{}); }

Utf8Scan ScanUtf8(std::string_view bytes) {
#ifdef HARUVI_UTF8_AVX2
  if (bytes.size() >= 64 && HasAvx2()) {
    bool error = false, high = false;
    Utf8Scan r;
    const std::size_t done = ScanBlocks(bytes.data(), bytes.size(), &error, &high, &r);
    if (error) {
      r.valid = false;
      r.multibyte = true;
      return r;
    }
    r.multibyte = high;
    // Read again from the start of the last sequence the blocks reached: it may run past
    // them, or be cut by the end of the text. Its lead was counted already.
    std::size_t k = done - 1;
    while (k > done - 4 && (At(bytes, k) & 0xC0) == 0x80) --k;
    if (k < done && At(bytes, k) >= 0xC0) {
      std::size_t& counted = At(bytes, k) >= 0xE0 ? r.leads34 : r.leads2;
      if (counted > 0) --counted;  // (past the counted beginning it was not counted)
    }
    return ScanFrom(bytes, k, r);
  }
#endif
  return ScanUtf8Scalar(bytes);
}

}  // namespace haruvi::encoding
