// The text pane's model: the shown bytes in one buffer with an index of its lines. The
// pane decodes only the lines it paints, so a 100 MB file is shown without ever being
// turned into a widget's document. Offsets are into the whole text with CR LF.
// The index keeps where every 64th line starts (a quarter of a byte per line, so 200 MB
// of line feeds index in 13 MB); a line between is found by scanning from its mark, and
// recently used lines are remembered, so painting neighbouring lines costs no scan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/byte_buffer.h"
#include "viewer/line_source.h"

namespace haruvi::viewer {

class TextDocument final : public LineSource {
 public:
  TextDocument() = default;
  // Moved whole, the views into the bytes stay good (a short text's bytes move with it).
  TextDocument(TextDocument&& other) noexcept;
  TextDocument& operator=(TextDocument&& other) noexcept;
  TextDocument(const TextDocument&) = delete;
  TextDocument& operator=(const TextDocument&) = delete;

  // Takes the bytes as they are and indexes the lines by encoding::LineCursor's rule: a
  // line ends at CR LF, at a lone CR or at a lone LF; a final line end makes no extra
  // empty line; a NUL is an ordinary byte.
  void SetBytes(ByteBuffer bytes);
  void SetBytes(std::string bytes) { SetBytes(ByteBuffer(std::move(bytes))); }
  void Clear() { SetBytes(std::string()); }
  // Hands the bytes over without a copy; the document is empty afterwards.
  ByteBuffer TakeBuffer();

  // Exactly the bytes given to SetBytes.
  std::string_view Bytes() const { return bytes_; }
  bool Empty() const { return bytes_.empty(); }

  std::size_t LineCount() const override { return line_count_; }
  // A line without its line end (empty view past the last line).
  std::string_view Line(std::size_t line) const override;
  // Byte length of the line end after `line`: 2 (CR LF), 1 (CR or LF) or 0 (none).
  std::size_t LineEndLength(std::size_t line) const;
  std::size_t MaxLineLength() const override { return max_line_length_; }

  // The whole text with every line end written as CR LF (what commands read). Equal to
  // Bytes() when the text already uses CR LF throughout.
  std::string TextCrLf() const;
  std::size_t TextCrLfLength() const override;
  // Offsets into TextCrLf(): where a line starts, and which line holds an offset
  // (offsets past the end belong to the last line).
  std::size_t LineStart(std::size_t line) const override;
  std::size_t LineOfOffset(std::size_t offset) const override;
  // Part of TextCrLf() without building all of it.
  std::string SliceCrLf(std::size_t start, std::size_t length) const override;

 private:
  static constexpr std::size_t kMarkEvery = 64;
  struct Mark {
    std::size_t byte;  // where the line starts in bytes_
    std::size_t crlf;  // and in TextCrLf()
  };
  // One line found: its start, the end of its text and the start of the next line.
  struct Found {
    std::size_t line = SIZE_MAX;
    std::size_t start = 0, end = 0, next = 0, crlf = 0;
  };
  const Found& Find(std::size_t line) const;

  ByteBuffer buffer_;
  std::string_view bytes_;
  std::vector<Mark> marks_;  // line k * kMarkEvery starts at marks_[k]
  std::size_t line_count_ = 0;
  std::size_t crlf_length_ = 0;
  bool all_crlf_ = true;     // TextCrLf() is bytes_ itself
  std::size_t max_line_length_ = 0;
  mutable Found recent_[64];  // by line % 64
};

// The line end a text uses first ("\r\n" when it has none): what an edited text is
// written back with, so that editing an LF file keeps it an LF file.
std::string_view FirstLineEnd(std::string_view bytes);
// A CR LF text with every CR LF written as `line_end`.
std::string WithLineEnds(std::string_view crlf_text, std::string_view line_end);
// Every line end (CR LF, a lone CR, a lone LF) written as CR LF.
std::string WithCrLfEnds(std::string_view bytes);

}  // namespace haruvi::viewer
