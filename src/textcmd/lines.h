// Line lists of the text commands. The input is the pane's text walked line by line
// (LineIndex: a mark every 64th line, never a view per line) or a list of views; a result
// is built in one byte buffer with one length byte for a short line (Lines), or is a
// selection of the input (KeptLines: a bit a line). A command over 200 million short lines
// so costs a few bytes a line and a few allocations, never one allocation a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/line_scan.h"

namespace haruvi::textcmd {

// The lines of one text by the pane's rule (encoding::LineCursor), without a list of them:
// where every 64th line starts is kept, a line between is found by walking from there.
// The text must outlive the index.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text);

  std::string_view Text() const { return text_; }
  std::size_t size() const { return count_; }
  // Line `i` (< size()), found from the mark before it.
  std::string_view operator[](std::size_t i) const;

 private:
  static constexpr std::size_t kMarkEvery = 64;
  std::string_view text_;
  std::vector<std::size_t> marks_;  // line k * kMarkEvery starts at marks_[k]
  std::size_t count_ = 0;
};

// A list of lines without their line ends, read front to back by a range-for (cheap in
// both forms) or at random by index (constant for views, a short walk for an index).
// Non-owning: the views, or the index and its text, outlive it.
class LineSpan {
 public:
  LineSpan() = default;
  LineSpan(std::span<const std::string_view> views) : views_(views) {}  // NOLINT: a list is lines
  LineSpan(const std::vector<std::string_view>& views) : views_(views) {}  // NOLINT
  LineSpan(const LineIndex& index) : index_(&index) {}  // NOLINT

  // The text an index walks, or nullptr for a list of views.
  const LineIndex* Index() const { return index_; }
  std::size_t size() const { return index_ ? index_->size() : views_.size(); }
  bool empty() const { return size() == 0; }
  std::string_view operator[](std::size_t i) const { return index_ ? (*index_)[i] : views_[i]; }

  class Iterator {
   public:
    std::string_view operator*() const { return view_ ? view_[at_] : cursor_.Line(); }
    Iterator& operator++() {
      if (!view_) cursor_.Advance();
      ++at_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }

   private:
    friend class LineSpan;
    Iterator(const std::string_view* view, std::string_view text, std::size_t at)
        : view_(view), cursor_(text), at_(at) {}
    const std::string_view* view_;
    encoding::LineCursor cursor_;
    std::size_t at_;
  };
  Iterator begin() const {
    return index_ ? Iterator(nullptr, index_->Text(), 0) : Iterator(views_.data(), {}, 0);
  }
  Iterator end() const { return Iterator(views_.data(), {}, size()); }

 private:
  std::span<const std::string_view> views_;
  const LineIndex* index_ = nullptr;
};

// Lines built by a command: their bytes one after the other, and each line's length as a
// number of 7-bit groups (one byte below 128), so an empty line costs one byte.
class Lines {
 public:
  void Reserve(std::size_t line_count, std::size_t byte_count) {
    lengths_.reserve(line_count);
    marks_.reserve(line_count / kMarkEvery + 1);
    bytes_.reserve(byte_count);
  }
  void Add(std::string_view line) {
    bytes_.append(line);
    EndLine();
  }
  // A line made of several parts: Append each, then EndLine.
  void Append(std::string_view part) { bytes_.append(part); }
  void Append(char c) { bytes_.push_back(c); }
  void EndLine();

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  // Line `i` (< size()), found from the mark before it.
  std::string_view operator[](std::size_t i) const;

  // Every line in order; stops early, returning false, when `line` does.
  template <class F>
  bool ForEach(F&& line) const;

  std::vector<std::string_view> Views() const;
  // Every line followed by `eol`: the pane's whole text when `eol` is CR LF.
  std::string Joined(std::string_view eol = "\r\n") const;

 private:
  // A sixteenth of a byte a line; a line is found from its mark with at most 255 steps.
  static constexpr std::size_t kMarkEvery = 256;
  struct Mark {
    std::size_t byte;    // where the line starts in bytes_
    std::size_t length;  // and its length in lengths_
  };
  // The length at `*at` in lengths_; *at moves past it.
  std::size_t ReadLength(std::size_t* at) const;

  std::string bytes_;
  std::string lengths_;
  std::vector<Mark> marks_;  // line k * kMarkEvery
  std::size_t count_ = 0;
  std::size_t line_start_ = 0;
};

// The lines of a list a deletion keeps, in order. Of a walked text it keeps the text and
// one bit a line; of a list of views, the kept views. Either way only the text the lines
// view must outlive it, as it must outlive a list of views.
class KeptLines {
 public:
  KeptLines() = default;
  KeptLines(LineSpan from, const std::vector<bool>& keep);

  std::size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  template <class F>
  bool ForEach(F&& line) const;
  std::vector<std::string_view> Views() const;

 private:
  std::string_view text_;
  std::vector<bool> keep_;               // a walked text: one bit a line
  std::vector<std::string_view> views_;  // a list: the kept views
  std::size_t count_ = 0;
};

// The lines of a text as the commands read a file: cut at the first NUL byte, then split
// by the pane's rule (encoding::SplitLines: CR LF, a lone CR or a lone LF ends a line, a
// final line end makes no extra empty line).
std::vector<std::string_view> SplitLines(std::string_view text);

// Every line followed by CR LF.
std::string JoinLines(LineSpan lines);

template <class F>
bool Lines::ForEach(F&& line) const {
  std::size_t at = 0, byte = 0;
  for (std::size_t i = 0; i < count_; ++i) {
    const std::size_t n = ReadLength(&at);
    if (!line(std::string_view(bytes_).substr(byte, n))) return false;
    byte += n;
  }
  return true;
}

template <class F>
bool KeptLines::ForEach(F&& line) const {
  if (keep_.empty()) {
    for (std::string_view l : views_)
      if (!line(l)) return false;
    return true;
  }
  std::size_t i = 0;
  for (std::string_view l : encoding::LinesOf(text_))
    if (keep_[i++] && !line(l)) return false;
  return true;
}

}  // namespace haruvi::textcmd
