// Line sort of "昇順" and "降順": lines compare in Japanese collation with case ignored, so
// kana and kanji follow the reading order of a Japanese dictionary rather than byte order.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "textcmd/lines.h"

namespace haruvi::textcmd {

enum class SortOrder { kAscending, kDescending };

// The lines in collation order, with the empty lines (all alike, and first in collation
// order) counted rather than listed: a text of many empty lines costs nothing a line.
struct SortedLines {
  std::size_t empty_first = 0;
  std::vector<std::string_view> rest;  // views of the input lines
  std::size_t empty_last = 0;

  std::size_t size() const { return empty_first + rest.size() + empty_last; }
  // Every line in order; stops early, returning false, when `line` does.
  template <class F>
  bool ForEach(F&& line) const {
    for (std::size_t i = 0; i < empty_first; ++i)
      if (!line(std::string_view())) return false;
    for (std::string_view l : rest)
      if (!line(l)) return false;
    for (std::size_t i = 0; i < empty_last; ++i)
      if (!line(std::string_view())) return false;
    return true;
  }
};

// Lines that collate equal (such as "a" and "A") are put in the byte order of the lines,
// so the result never depends on the input order; the descending order is the exact
// reverse of the ascending one.
SortedLines SortLinesGrouped(LineSpan lines, SortOrder order);
// The same as one list of views.
std::vector<std::string_view> SortLines(LineSpan lines, SortOrder order);

}  // namespace haruvi::textcmd
