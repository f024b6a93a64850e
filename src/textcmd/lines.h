// Line lists of the text commands: the input is a list of views into the pane's text, the
// result is built in one byte buffer with the end of each line, so a command over a million
// lines costs a few allocations rather than a million.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace haruvi::textcmd {

// A line is its bytes without the line end.
using LineSpan = std::span<const std::string_view>;

class Lines {
 public:
  void Reserve(std::size_t line_count, std::size_t byte_count) {
    ends_.reserve(line_count);
    bytes_.reserve(byte_count);
  }
  void Add(std::string_view line) {
    bytes_.append(line);
    ends_.push_back(bytes_.size());
  }
  // A line made of several parts: Append each, then EndLine.
  void Append(std::string_view part) { bytes_.append(part); }
  void Append(char c) { bytes_.push_back(c); }
  void EndLine() { ends_.push_back(bytes_.size()); }

  std::size_t size() const { return ends_.size(); }
  bool empty() const { return ends_.empty(); }
  std::string_view operator[](std::size_t i) const {
    std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(begin, ends_[i] - begin);
  }

  std::vector<std::string_view> Views() const;
  // Every line followed by `eol`: the pane's whole text when `eol` is CR LF.
  std::string Joined(std::string_view eol = "\r\n") const;

 private:
  std::string bytes_;
  std::vector<std::size_t> ends_;
};

// The lines of a text as the commands read a file: cut at the first NUL byte, then split
// by the pane's rule (encoding::SplitLines: CR LF, a lone CR or a lone LF ends a line, a
// final line end makes no extra empty line).
std::vector<std::string_view> SplitLines(std::string_view text);

// Every line followed by CR LF.
std::string JoinLines(LineSpan lines);

}  // namespace haruvi::textcmd
