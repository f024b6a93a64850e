#include "viewer/wrap_pieces.h"

#include <algorithm>

namespace haruvi::viewer {

std::size_t WrapPieces::PiecesOf(std::size_t length) {
  return length <= kPieceBytes ? 1 : (length + kPieceBytes - 1) / kPieceBytes;
}

void WrapPieces::Build(const LineSource& doc) {
  long_.clear();
  const std::size_t lines = doc.LineCount();
  std::size_t extra = 0;
  if (doc.MaxLineLength() > kPieceBytes) {
    for (std::size_t l = 0; l < lines; ++l) {
      const std::size_t n = PiecesOf(doc.Line(l).size());
      if (n > 1) {
        long_.push_back({l, extra, n - 1});
        extra += n - 1;
      }
    }
  }
  count_ = lines + extra;
}

std::size_t WrapPieces::Global(std::size_t line, std::size_t index) const {
  // Extra pieces of the long lines before `line`.
  auto it = std::lower_bound(long_.begin(), long_.end(), line,
                             [](const LongLine& l, std::size_t v) { return l.line < v; });
  const std::size_t before = it == long_.begin() ? 0 : std::prev(it)->extra_before + std::prev(it)->extra;
  std::size_t own = 0;
  if (it != long_.end() && it->line == line) own = std::min(index, it->extra);
  return line + before + own;
}

WrapPieces::Piece WrapPieces::At(std::size_t global) const {
  global = count_ ? std::min(global, count_ - 1) : 0;
  // The last long line whose first piece is at or before `global`.
  auto it = std::upper_bound(long_.begin(), long_.end(), global,
                             [](std::size_t v, const LongLine& l) { return v < l.line + l.extra_before; });
  if (it == long_.begin()) return {global, 0};
  const LongLine& l = *std::prev(it);
  const std::size_t first = l.line + l.extra_before;
  if (global <= first + l.extra) return {l.line, global - first};
  return {global - l.extra_before - l.extra, 0};
}

}  // namespace haruvi::viewer
