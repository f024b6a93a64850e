// Word wrap's unit of scrolling. A wrapped line can be taller than the pane (a 30 MB
// one-line file), so wrap mode scrolls by pieces: every line is cut into pieces of at
// most kPieceBytes (at character boundaries, cut by the view), each laid out and wrapped
// on its own. Only lines longer than a piece are remembered, so the count costs little
// memory whatever the number of lines.
#pragma once

#include <cstddef>
#include <vector>

#include "viewer/line_source.h"

namespace haruvi::viewer {

class WrapPieces {
 public:
  // Large enough that the row break at a piece's end is rare (every few hundred rows).
  static constexpr std::size_t kPieceBytes = 32768;

  struct Piece {
    std::size_t line = 0;
    std::size_t index = 0;  // the index-th piece of the line
  };

  // Counts the pieces of every line of `doc` (one pass over the lines, and only when
  // some line may be longer than a piece).
  void Build(const LineSource& doc);
  std::size_t Count() const { return count_; }
  // Pieces of one line: at least 1.
  static std::size_t PiecesOf(std::size_t line_length);
  // The global number of a line's index-th piece, and back.
  std::size_t Global(std::size_t line, std::size_t index) const;
  Piece At(std::size_t global) const;

 private:
  struct LongLine {
    std::size_t line;
    std::size_t extra_before;  // pieces beyond the first of the long lines before it
    std::size_t extra;         // this line's pieces beyond its first
  };
  std::vector<LongLine> long_;
  std::size_t count_ = 0;
};

}  // namespace haruvi::viewer
