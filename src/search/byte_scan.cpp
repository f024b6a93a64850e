// AVX2 (chosen at run time) and SSE2 versions with scalar fallbacks; results are
// identical either way.
#include "search/byte_scan.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define HARUVI_SCAN_AVX2 1
#endif

namespace haruvi::search {

namespace {

#ifdef HARUVI_SCAN_AVX2
bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

// The SSE2 loop below 32 bytes a step; returns where it stopped (fewer than 33 left).
__attribute__((target("avx2"))) const char* CountLineEndsAvx2(const char* p, const char* e, std::size_t& n) {
  const __m256i lf = _mm256_set1_epi8('\n'), cr = _mm256_set1_epi8('\r'), zero = _mm256_setzero_si256();
  while (e - p >= 33) {
    __m256i acc = zero;
    for (int i = 0; i < 255 && e - p >= 33; ++i, p += 32) {
      __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
      __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
      __m256i ends = _mm256_or_si256(_mm256_cmpeq_epi8(v, lf),
                                     _mm256_andnot_si256(_mm256_cmpeq_epi8(next, lf), _mm256_cmpeq_epi8(v, cr)));
      acc = _mm256_sub_epi8(acc, ends);
    }
    __m256i sums = _mm256_sad_epu8(acc, zero);
    n += static_cast<std::size_t>(_mm256_extract_epi64(sums, 0)) + static_cast<std::size_t>(_mm256_extract_epi64(sums, 1)) +
         static_cast<std::size_t>(_mm256_extract_epi64(sums, 2)) + static_cast<std::size_t>(_mm256_extract_epi64(sums, 3));
  }
  return p;
}
#endif

}  // namespace

std::size_t CountLineEnds(const char* b, const char* e, bool& cr_before) {
  // A CR LF pair is counted at its LF, so an LF right after a counted CR is skipped.
  if (cr_before && b != e && *b == '\n') ++b;
  cr_before = false;
  std::size_t n = 0;
  const char* p = b;
#ifdef HARUVI_SCAN_AVX2
  if (HasAvx2()) p = CountLineEndsAvx2(p, e, n);
#endif
#if defined(__SSE2__)
  // Per byte: an LF, or a CR not followed by an LF, ends a line. Byte counters are
  // folded into 64-bit sums before they can overflow.
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  while (e - p >= 17) {
    __m128i acc = zero;
    for (int i = 0; i < 255 && e - p >= 17; ++i, p += 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
      __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(v, lf),
                                  _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr)));
      acc = _mm_sub_epi8(acc, ends);
    }
    __m128i sums = _mm_sad_epu8(acc, zero);
    n += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
         static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
#endif
  for (; p != e; ++p) {
    if (*p == '\n') {
      if (!cr_before) ++n;
      cr_before = false;
    } else if (*p == '\r') {
      ++n;
      cr_before = true;
    } else {
      cr_before = false;
    }
  }
  return n;
}

ByteSet::ByteSet(const std::array<bool, 256>& set) : set_(set) {
  for (int c = 0; c < 256;) {
    if (!set_[static_cast<std::size_t>(c)]) {
      ++c;
      continue;
    }
    int from = c;
    while (c < 256 && set_[static_cast<std::size_t>(c)]) ++c;
    if (ranges_ < 8) {
      lo_[static_cast<std::size_t>(ranges_)] = static_cast<unsigned char>(from);
      span_[static_cast<std::size_t>(ranges_)] = static_cast<unsigned char>(c - 1 - from);
    }
    ++ranges_;
  }
}

const char* ByteSet::Find(const char* b, const char* e) const {
  const char* p = b;
#if defined(__SSE2__)
  if (ranges_ <= 8) {
    if (ranges_ == 0) return e;
    for (; e - p >= 16; p += 16) {
      __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      __m128i hit = _mm_setzero_si128();
      for (int r = 0; r < ranges_; ++r) {
        // v - lo <= span (unsigned): the byte lies in the range.
        __m128i t = _mm_sub_epi8(v, _mm_set1_epi8(static_cast<char>(lo_[static_cast<std::size_t>(r)])));
        __m128i s = _mm_set1_epi8(static_cast<char>(span_[static_cast<std::size_t>(r)]));
        hit = _mm_or_si128(hit, _mm_cmpeq_epi8(_mm_min_epu8(t, s), t));
      }
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
      if (mask) return p + __builtin_ctz(mask);
    }
  }
#endif
  for (; p != e; ++p)
    if (set_[static_cast<unsigned char>(*p)]) return p;
  return e;
}

}  // namespace haruvi::search
