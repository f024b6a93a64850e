// Character-code detection: a binary check over the leading bytes, then one forward
// classification pass that stops at the first deciding byte. Texts that must be scanned
// whole (ASCII, or only pairs that fit both EUC and Shift_JIS) are skipped 64 bytes at a
// time (AVX2 where the processor has it, else SSE2) wherever a block provably decides
// nothing.
#include "encoding/char_code.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
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

// A 64-byte block as two bit masks: ordinary ASCII (0x08-0x7F, not ESC) and 0xA1-0xDF.
// Such a block decides nothing when every run of high bytes pairs up: runs of even
// length, counted from the run's start, or from the byte before the block when the block
// begins with the second byte of a pair (`phase` 1). Blocks are taken whole, 64 bytes
// at a time, so the next load never waits for this block's answer; only the phase
// carries over.
struct BlockScan {
  bool clean;       // nothing decided: go on with the next block
  unsigned phase;   // clean: whether the next block begins with a second byte
  bool pairs;       // a pair of 0xA1-0xDF bytes was passed
  int restart;      // not clean: a character boundary before `care` (-1: the byte before the block)
  size_t care;      // not clean: the first byte the masks cannot vouch for
};

BlockScan ScanMasks(uint64_t ordinary, uint64_t high, unsigned phase) {
  const uint64_t kEven = 0x5555555555555555ULL, kOdd = ~kEven;
  const uint64_t ph = phase;
  const uint64_t starts = high & ~(high << 1);
  // A run that begins the block while byte 0 is a second byte really began at -1 (odd).
  const uint64_t even_starts = starts & kEven & ~ph;
  const uint64_t odd_starts = (starts & kOdd) | (starts & ph);
  // Adding a run's start bit carries through the run and lands just after it.
  const uint64_t even_ends = (even_starts + high) & ~high;
  const uint64_t odd_ends = (odd_starts + high) & ~high;
  const uint64_t trouble = ~(ordinary | high) | (even_ends & kOdd) | (odd_ends & kEven) | (ph & ~high);
  if (trouble == 0) {
    unsigned next = 0;
    if (high >> 63) {  // the last run goes on into the next block: is byte 63 a first byte?
      const unsigned s = static_cast<unsigned>(63 - __builtin_clzll(starts));
      next = (s & 1) | (s == 0 ? phase : 0);
    }
    return {true, next, high != 0, 0, 64};
  }
  const size_t care = static_cast<size_t>(__builtin_ctzll(trouble));
  int restart = static_cast<int>(care);
  if (care > 0 && (high >> (care - 1)) & 1) {
    const unsigned s = static_cast<unsigned>(63 - __builtin_clzll(starts & ((uint64_t{2} << (care - 1)) - 1)));
    restart = s == 0 && phase ? -1 : static_cast<int>(s);
  } else if (care == 0 && phase) {
    restart = -1;
  }
  const bool pairs = restart > 0 && (high & ((uint64_t{1} << restart) - 1)) != 0;
  return {false, 0, pairs, restart, care};
}

// The byte rules, with whole blocks skipped where `Isa::Masks` shows they decide nothing.
template <typename Isa>
[[gnu::always_inline]] inline TCharCode Classify(const unsigned char* p, size_t n) {
  const size_t last = n - 1;  // the last byte is never a lead byte
  TCharCode result = ccAscii;
  size_t i = 0;
  size_t resume = 0;  // where block skipping may start again
  while (i < last) {
    if (Isa::kBlocks && i >= resume && i + 64 <= last) {
      unsigned phase = 0;
      bool pairs = false;
      BlockScan block{true, 0, false, 0, 64};
      for (; i + 64 <= last; i += 64) {
        uint64_t ordinary, high;
        Isa::Masks(p + i, ordinary, high);
        if (ordinary == ~uint64_t{0} && phase == 0) continue;
        block = ScanMasks(ordinary, high, phase);
        pairs |= block.pairs;
        if (!block.clean) break;
        phase = block.phase;
      }
      if (pairs) result = ccEucOrSjis;
      if (!block.clean) {
        resume = i + block.care + 1;
        i = static_cast<size_t>(static_cast<ptrdiff_t>(i) + block.restart);
      } else if (phase) {
        --i;  // the last block ended on a first byte: read its pair byte by byte
      }
    }
    if (i >= last) break;
    i = Step(p, i, n, result);
    if (result != ccAscii && result != ccEucOrSjis) return result;
  }
  return result;
}

struct Scalar {
  static constexpr bool kBlocks = false;
  static void Masks(const unsigned char*, uint64_t&, uint64_t&) {}
};

#if defined(__SSE2__)
struct Sse2 {
  static constexpr bool kBlocks = true;
  static void Masks(const unsigned char* p, uint64_t& ordinary, uint64_t& high) {
    const __m128i k08 = _mm_set1_epi8(0x08), kEsc = _mm_set1_epi8(0x1B);
    const __m128i kA1 = _mm_set1_epi8(static_cast<char>(0xA1)), kDF = _mm_set1_epi8(static_cast<char>(0xDF));
    ordinary = high = 0;
    for (int k = 0; k < 4; ++k) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
      const __m128i ge08 = _mm_cmpeq_epi8(_mm_max_epu8(v, k08), v);
      const __m128i ascii = _mm_andnot_si128(v, _mm_andnot_si128(_mm_cmpeq_epi8(v, kEsc), ge08));
      const __m128i in_range = _mm_and_si128(_mm_cmpeq_epi8(_mm_max_epu8(v, kA1), v),
                                             _mm_cmpeq_epi8(_mm_min_epu8(v, kDF), v));
      ordinary |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(ascii))} << (16 * k);
      high |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(in_range))} << (16 * k);
    }
  }
};
#endif

#if defined(__x86_64__)
struct Avx2 {
  static constexpr bool kBlocks = true;
  [[gnu::target("avx2")]] static void Masks(const unsigned char* p, uint64_t& ordinary, uint64_t& high) {
    const __m256i k08 = _mm256_set1_epi8(0x08), kEsc = _mm256_set1_epi8(0x1B);
    const __m256i kA1 = _mm256_set1_epi8(static_cast<char>(0xA1)), kDF = _mm256_set1_epi8(static_cast<char>(0xDF));
    ordinary = high = 0;
    for (int k = 0; k < 2; ++k) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32 * k));
      const __m256i ge08 = _mm256_cmpeq_epi8(_mm256_max_epu8(v, k08), v);
      const __m256i ascii = _mm256_andnot_si256(v, _mm256_andnot_si256(_mm256_cmpeq_epi8(v, kEsc), ge08));
      const __m256i in_range = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_max_epu8(v, kA1), v),
                                                _mm256_cmpeq_epi8(_mm256_min_epu8(v, kDF), v));
      ordinary |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(ascii))} << (32 * k);
      high |= uint64_t{static_cast<uint32_t>(_mm256_movemask_epi8(in_range))} << (32 * k);
    }
  }
};

[[gnu::target("avx2")]] TCharCode ClassifyAvx2(const unsigned char* p, size_t n) { return Classify<Avx2>(p, n); }
#endif

TCharCode ClassifyBest(const unsigned char* p, size_t n) {
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return ClassifyAvx2(p, n);
#endif
#if defined(__SSE2__)
  return Classify<Sse2>(p, n);
#else
  return Classify<Scalar>(p, n);
#endif
}

}  // namespace

TCharCode DetectCharCode(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (n < 2) return ccAscii;
  for (size_t i = 0, limit = std::min(n - 1, BinaryScanLimit); i < limit; ++i)
    if (IsBinaryByte(p[i])) return ccBinary;
  return ClassifyBest(p, n);
}

}  // namespace haruvi::encoding
