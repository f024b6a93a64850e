// Output buffers of the conversions.
#include "encoding/byte_writer.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace haruvi::encoding {

std::string MakeBuffer(size_t size, char fill) {
  std::string buf;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr size_t kHuge = size_t{2} << 20;
  if (size >= 2 * kHuge) {
    buf.reserve(size);  // allocated, not yet touched
    const auto start = reinterpret_cast<uintptr_t>(buf.data());
    const uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1);
    const uintptr_t last = (start + size) & ~(kHuge - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
#endif
  buf.resize(size, fill);
  return buf;
}

size_t AsciiRunEnd(const unsigned char* p, size_t i, size_t stop) {
#if defined(__SSE2__)
  for (; i + 16 <= stop; i += 16) {
    const int high = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
    if (high) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(high)));
  }
#endif
  while (i < stop && p[i] < 0x80) ++i;
  return i;
}

}  // namespace haruvi::encoding
