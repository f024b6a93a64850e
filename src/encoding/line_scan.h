// The one line rule for every layer that splits the pane's text or a file into lines: a
// line ends at CR LF, a lone CR or a lone LF; a final line end makes no extra empty line.
// NUL is an ordinary byte; a caller that stops at the first NUL cuts first (UpToFirstNul).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace haruvi::encoding {

// Walks the lines of a text from a line start. The walk is linear on any mix of line
// ends: the next LF and the next CR are remembered and never looked for twice, and the
// kind of line end a text lacks is looked for a growing window ahead at a time, so one
// line found from an arbitrary start costs about its own length.
class LineCursor {
 public:
  // Stands on the line that starts at `start` (a line start of `text`, or its end).
  explicit LineCursor(std::string_view text, std::size_t start = 0);

  // True past the last line: no line starts here.
  bool AtEnd() const { return start_ >= text_.size(); }
  // Offsets into the text: where the line starts, where its text ends (its line end
  // begins) and where the next line starts.
  std::size_t Start() const { return start_; }
  std::size_t End() const { return end_; }
  std::size_t Next() const { return next_; }
  // The line end's length: 2 (CR LF), 1 (a lone CR or LF) or 0 (the last line has none).
  std::size_t EndLength() const { return next_ - end_; }
  // The line without its line end.
  std::string_view Line() const { return text_.substr(start_, end_ - start_); }

  // Onto the next line (AtEnd after the last).
  void Advance();

 private:
  void Locate();
  // Looks further for `byte` from `*clear`, up to `limit`: *clear becomes the byte's
  // position, or `limit` when it is not there.
  void Extend(char byte, std::size_t* clear, std::size_t limit);

  std::string_view text_;
  std::size_t start_ = 0, end_ = 0, next_ = 0;
  // No LF stands in [start_, clear_lf_) and no CR in [start_, clear_cr_); when the byte
  // at clear_lf_ (clear_cr_) is an LF (a CR), it is the next one.
  std::size_t clear_lf_ = 0, clear_cr_ = 0;
  std::size_t window_;
};

// Every line of a text, without its line end.
std::vector<std::string_view> SplitLines(std::string_view text);

// The lines of a text for a range-for loop, without building a list:
//   for (std::string_view line : LinesOf(text)) ...
class LinesOf {
 public:
  explicit LinesOf(std::string_view text) : text_(text) {}
  struct Sentinel {};
  class Iterator {
   public:
    explicit Iterator(std::string_view text) : cursor_(text) {}
    std::string_view operator*() const { return cursor_.Line(); }
    Iterator& operator++() {
      cursor_.Advance();
      return *this;
    }
    bool operator==(Sentinel) const { return cursor_.AtEnd(); }

   private:
    LineCursor cursor_;
  };
  Iterator begin() const { return Iterator(text_); }
  Sentinel end() const { return {}; }

 private:
  std::string_view text_;
};

// The text before its first NUL byte (all of it when it has none): for the readers that
// take a NUL as the end of the text.
std::string_view UpToFirstNul(std::string_view text);

}  // namespace haruvi::encoding
