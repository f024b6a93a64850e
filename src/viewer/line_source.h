// What the pane's view reads: the lines of a text and offsets into its CR LF form. The
// shown document and the edit model both answer it, so one view paints and moves the
// caret over either, and entering simple edit never hands the text to another widget.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace haruvi::viewer {

class LineSource {
 public:
  virtual ~LineSource() = default;
  virtual std::size_t LineCount() const = 0;
  // A line without its line end (empty past the last line). The view stays good until
  // the text changes; an assembled line at least until 64 more lines are asked for.
  virtual std::string_view Line(std::size_t line) const = 0;
  virtual std::size_t LineStart(std::size_t line) const = 0;
  virtual std::size_t LineOfOffset(std::size_t offset) const = 0;
  virtual std::size_t TextCrLfLength() const = 0;
  // Sizes the horizontal scroll: exact, or an upper bound.
  virtual std::size_t MaxLineLength() const = 0;
  virtual std::string SliceCrLf(std::size_t start, std::size_t length) const = 0;
};

}  // namespace haruvi::viewer
