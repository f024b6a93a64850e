// Byte-level scanning helpers of the grep scanners, vectorised where the machine allows:
// counting line ends and finding the next byte of a set (literals: search/literal_scan.h).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace haruvi::search {

// Counts line ends (CR LF, lone CR and lone LF are one each) in [b, e); `cr_before` says
// whether the byte before b was a CR and is updated to the last byte of the range.
std::size_t CountLineEnds(const char* b, const char* e, bool& cr_before);

// The first byte in [b, e) whose entry in `set` is true, or e.
class ByteSet {
 public:
  explicit ByteSet(const std::array<bool, 256>& set);
  const char* Find(const char* b, const char* e) const;

 private:
  std::array<bool, 256> set_;
  std::array<unsigned char, 8> lo_{}, span_{};  // up to 8 ranges for the vector path
  int ranges_ = 0;                               // > 8: scalar only
};

}  // namespace haruvi::search
