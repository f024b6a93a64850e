// The conversions of the "文字コード変換" menu and the width conversions on an input read
// in pieces: the same bytes as converting the whole text at once, in bounded memory.
// A conversion is fed the window of a PieceSource and says how much of it it took.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "encoding/jis_convert.h"
#include "encoding/piece_io.h"
#include "encoding/width.h"

namespace haruvi::encoding {

class PieceConversion {
 public:
  virtual ~PieceConversion() = default;
  // Converts the front of `held` (more input follows unless `last`), appends the result
  // to `out` and returns the bytes taken: all of them when `last`; none when it needs
  // more bytes before it can go on (it then sees a longer window).
  virtual std::size_t Convert(std::string_view held, bool last, std::string& out) = 0;
};

// The piecewise form of a numbered conversion (the line codings end lines with CR, as
// ApplyCodingOp has them); null for coAutoToSjis, whose code is decided on the whole text.
std::unique_ptr<PieceConversion> MakeCodingConversion(TCodingOp op);
std::unique_ptr<PieceConversion> MakeWidthConversion(WidthOp op);
// coAutoToSjis once `first_bytes` (the input's first bytes, not all of it) decide the
// code the whole text would be detected as; null while they leave it undecided.
std::unique_ptr<PieceConversion> MakeAutoToSjisConversion(std::string_view first_bytes);

// A source read the way the code conversions read a file (crlf_lines.h): cut at the first
// NUL, split into lines at CR, LF or CR LF, and every line, the last too, ended by CR LF.
class CrLfLineSource : public PieceSource {
 public:
  explicit CrLfLineSource(PieceSource& raw) : raw_(raw) {}
  bool Fill(std::size_t want) override;
  std::string_view Held() const override { return std::string_view(buf_).substr(start_); }
  void Consume(std::size_t count) override { start_ += count; }
  bool AtEnd() const override { return at_end_; }

 private:
  void Join(std::string_view bytes);
  PieceSource& raw_;
  std::string buf_;
  std::size_t start_ = 0;
  bool at_end_ = false;
  bool cr_before_ = false;  // the last byte joined was a CR (an LF after it is its pair)
  bool open_line_ = false;  // the last byte joined is inside a line (it needs its CR LF)
};

enum class PieceRunResult { kDone, kReadError, kWriteError };
// Converts all of `source` into `writer` (flushed at the end). PieceLimitError propagates.
PieceRunResult ConvertPieces(PieceSource& source, PieceConversion& conversion, ChunkWriter& writer);

}  // namespace haruvi::encoding
