// Whether a byte string is well-formed UTF-8, at memory speed: every selection passes
// through it before the legacy detector, so it reads 32 bytes a step (AVX2 where the
// processor has it, a word-at-a-time scalar loop elsewhere).
#pragma once

#include <cstddef>
#include <string_view>

namespace haruvi::encoding {

struct Utf8Scan {
  bool valid = true;      // well-formed, except possibly for the cut tail below
  bool multibyte = false; // at least one byte of 0x80 or more
  // Two-byte and three- or four-byte sequences (in a valid text; a cut tail is none),
  // counted over the first megabyte or so, and on until the first longer one.
  std::size_t leads2 = 0;
  std::size_t leads34 = 0;
  // The text ends inside a sequence that was well-formed so far (1-3 bytes); `valid`
  // still holds then, since a piece or a cut file may end anywhere.
  std::size_t cut_tail = 0;
};

// The rule of Utf8SequenceAt (no overlong forms, no surrogates, nothing past U+10FFFF).
Utf8Scan ScanUtf8(std::string_view bytes);

// The scalar loop alone, for tests and for processors without AVX2.
Utf8Scan ScanUtf8Scalar(std::string_view bytes);

}  // namespace haruvi::encoding
