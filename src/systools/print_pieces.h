// The printer's walk through pane bytes: line by line (as the pane splits them), a line
// longer than a limit in pieces cut where a character starts, so each piece can be laid
// out alone and memory stays bounded whatever the text.
#pragma once

#include <cstddef>
#include <string_view>

#include "encoding/line_scan.h"
#include "encoding/pane_codec.h"

namespace haruvi::systools {

struct TextPiece {
  std::size_t begin = 0, end = 0;  // the piece's text, without the line end
  bool ends_line = false;          // the last piece of its line (an empty line is one)
  std::size_t next = 0;            // where the walk goes on: bytes done so far
};

class PieceReader {
 public:
  PieceReader(std::string_view bytes, const encoding::PaneCodec& codec, std::size_t max_bytes);
  // The next piece; false at the end.
  bool Next(TextPiece& out);

 private:
  std::string_view bytes_;
  const encoding::PaneCodec& codec_;
  std::size_t max_;
  std::size_t at_ = 0;         // start of the next piece
  std::size_t text_end_ = 0;   // end of the current line's text
  std::size_t line_next_ = 0;  // start of the line after it
  bool in_line_ = false;
  encoding::LineCursor lines_;
};

}  // namespace haruvi::systools
