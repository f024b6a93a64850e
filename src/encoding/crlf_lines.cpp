// Line-end normalisation. Most files already have CR LF everywhere, which a vector pass
// confirms at memory speed; others are rebuilt line by line.
#include "encoding/crlf_lines.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "encoding/byte_writer.h"
#include "encoding/line_scan.h"

namespace haruvi::encoding {

bool IsJoinedWithCrLf(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  if (n == 0) return true;
  if (n < 2 || p[n - 2] != '\r' || p[n - 1] != '\n' || p[0] == '\n') return false;
  // Every LF must follow a CR and every CR precede an LF: "byte k is LF" equals "byte
  // k - 1 is CR" for every k. No byte may be NUL.
  size_t k = 1;
  unsigned bad = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  __m128i acc = zero;
  for (; k + 16 <= n; k += 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k - 1));
    acc = _mm_or_si128(acc, _mm_xor_si128(_mm_cmpeq_epi8(here, lf), _mm_cmpeq_epi8(before, cr)));
    acc = _mm_or_si128(acc, _mm_cmpeq_epi8(here, zero));
  }
  bad = static_cast<unsigned>(_mm_movemask_epi8(acc));
#endif
  for (; k < n; ++k) bad |= static_cast<unsigned>((p[k] == '\n') != (p[k - 1] == '\r')) | (p[k] == 0);
  return bad == 0 && p[0] != 0;
}

std::string JoinLinesWithCrLf(std::string_view file_bytes) {
  file_bytes = UpToFirstNul(file_bytes);
  if (IsJoinedWithCrLf(file_bytes)) return std::string(file_bytes);
  ByteWriter out(file_bytes.size() + file_bytes.size() / 16 + 2);
  char* o = out.begin();
  for (LineCursor c(file_bytes); !c.AtEnd(); c.Advance()) {
    o = out.Append(o, c.Line());
    o = out.Append(o, "\r\n");
  }
  return out.Finish(o);
}

}  // namespace haruvi::encoding
