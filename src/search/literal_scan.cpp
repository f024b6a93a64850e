// The probe filter 32 bytes a step with AVX2 where the processor has it, else 16 with
// SSE2, else memmem; results are identical either way.
#include "search/literal_scan.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define HARUVI_FIND_AVX2 1
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace haruvi::search {
namespace {

const char* Memmem(const char* b, const char* e, std::string_view needle) {
  if (static_cast<std::size_t>(e - b) < needle.size()) return e;
  const void* r = memmem(b, static_cast<std::size_t>(e - b), needle.data(), needle.size());
  return r ? static_cast<const char*>(r) : e;
}

#ifdef HARUVI_FIND_AVX2
bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

// Candidates of [b, e) 32 at a time; returns a hit, or where the vector steps stopped
// (fewer than 32 candidate starts with room for the needle are left) with *hit false.
__attribute__((target("avx2"))) const char* FindAvx2(const char* b, const char* e, std::string_view needle,
                                                      std::size_t i1, std::size_t i2, bool* hit) {
  const std::size_t m = needle.size();
  const __m256i v1 = _mm256_set1_epi8(needle[i1]), v2 = _mm256_set1_epi8(needle[i2]);
  const char* p = b;
  for (; e - p >= static_cast<std::ptrdiff_t>(m + 31); p += 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i1));
    const __m256i z = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i2));
    auto mask = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, v1), _mm256_cmpeq_epi8(z, v2))));
    while (mask) {
      const char* c = p + __builtin_ctz(mask);
      if (std::memcmp(c, needle.data(), m) == 0) {
        *hit = true;
        return c;
      }
      mask &= mask - 1;
    }
  }
  *hit = false;
  return p;
}
#endif

}  // namespace

LiteralFinder::LiteralFinder(std::string_view needle) : needle_(needle), probe2_(needle.size() - 1) {}

void LiteralFinder::Tune(const char* b, const char* e) {
  std::array<std::size_t, 256> count{};
  for (const char* p = b; p != e; ++p) ++count[static_cast<unsigned char>(*p)];
  auto freq = [&](std::size_t i) { return count[static_cast<unsigned char>(needle_[i])]; };
  const std::size_t m = needle_.size();
  std::size_t best = 0;
  for (std::size_t i = 1; i < m; ++i)
    if (freq(i) < freq(best)) best = i;
  // The second probe is best a different byte value: the same one twice filters little.
  std::size_t second = best == m - 1 ? 0 : m - 1;
  for (std::size_t i = 0; i < m; ++i) {
    if (i == best) continue;
    const bool same = needle_[i] == needle_[best], second_same = needle_[second] == needle_[best];
    if ((second_same && !same) || (same == second_same && freq(i) < freq(second))) second = i;
  }
  probe1_ = std::min(best, second);
  probe2_ = std::max(best, second);
}

const char* LiteralFinder::FindPortable(const char* b, const char* e) const {
  const std::size_t m = needle_.size();
  if (static_cast<std::size_t>(e - b) < m) return e;
  if (m == 1) {
    const void* r = std::memchr(b, needle_[0], static_cast<std::size_t>(e - b));
    return r ? static_cast<const char*>(r) : e;
  }
  const char* p = b;
#if defined(__SSE2__)
  const __m128i v1 = _mm_set1_epi8(needle_[probe1_]), v2 = _mm_set1_epi8(needle_[probe2_]);
  for (; e - p >= static_cast<std::ptrdiff_t>(m + 15); p += 16) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + probe1_));
    __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + probe2_));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, v1), _mm_cmpeq_epi8(z, v2))));
    while (mask) {
      const char* c = p + __builtin_ctz(mask);
      if (std::memcmp(c, needle_.data(), m) == 0) return c;
      mask &= mask - 1;
    }
  }
#endif
  return Memmem(p, e, needle_);
}

const char* LiteralFinder::Find(const char* b, const char* e) const {
#ifdef HARUVI_FIND_AVX2
  if (needle_.size() > 1 && HasAvx2()) {
    bool hit = false;
    const char* p = FindAvx2(b, e, needle_, probe1_, probe2_, &hit);
    return hit ? p : FindPortable(p, e);
  }
#endif
  return FindPortable(b, e);
}

}  // namespace haruvi::search
