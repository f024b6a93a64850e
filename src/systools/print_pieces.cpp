// Line and piece walk of the printer.
#include "systools/print_pieces.h"

#include <algorithm>

namespace haruvi::systools {

PieceReader::PieceReader(std::string_view bytes, const encoding::PaneCodec& codec, std::size_t max_bytes)
    : bytes_(bytes), codec_(codec), max_(std::max<std::size_t>(max_bytes, 2)) {}

bool PieceReader::Next(TextPiece& out) {
  if (!in_line_) {
    if (at_ >= bytes_.size()) return false;
    const std::size_t nl = bytes_.find('\n', at_);
    line_next_ = nl == std::string_view::npos ? bytes_.size() : nl + 1;
    text_end_ = nl == std::string_view::npos ? bytes_.size() : nl;
    // A CR before the LF (or a lone one at the very end) is the line's end, not text.
    if (text_end_ > at_ && bytes_[text_end_ - 1] == '\r') --text_end_;
    in_line_ = true;
  }
  std::size_t to = std::min(text_end_, at_ + max_);
  if (to < text_end_) {
    // Step back to where a character starts: walk the characters up to the limit.
    std::size_t p = at_;
    while (p < to) {
      const std::size_t n = codec_.CharLength(bytes_.substr(p, text_end_ - p));
      if (n == 0 || p + n > to) break;
      p += n;
    }
    if (p > at_) to = p;
  }
  out.begin = at_;
  out.end = to;
  out.ends_line = to == text_end_;
  if (out.ends_line) {
    at_ = line_next_;
    in_line_ = false;
  } else {
    at_ = to;
  }
  out.next = at_;
  return true;
}

}  // namespace haruvi::systools
