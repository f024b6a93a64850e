// Line and piece walk of the printer.
#include "systools/print_pieces.h"

#include <algorithm>

namespace haruvi::systools {

PieceReader::PieceReader(std::string_view bytes, const encoding::PaneCodec& codec, std::size_t max_bytes)
    : bytes_(bytes), codec_(codec), max_(std::max<std::size_t>(max_bytes, 2)), lines_(bytes) {}

bool PieceReader::Next(TextPiece& out) {
  if (!in_line_) {
    // Lines as the pane has them: CR LF, a lone CR or a lone LF ends one.
    if (lines_.AtEnd()) return false;
    at_ = lines_.Start();
    text_end_ = lines_.End();
    line_next_ = lines_.Next();
    lines_.Advance();
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
