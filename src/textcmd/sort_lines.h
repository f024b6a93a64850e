// Line sort of "昇順" and "降順": lines compare in Japanese collation with case ignored, so
// kana and kanji follow the reading order of a Japanese dictionary rather than byte order.
#pragma once

#include <string_view>
#include <vector>

#include "textcmd/lines.h"

namespace haruvi::textcmd {

enum class SortOrder { kAscending, kDescending };

// The lines in collation order. Lines that collate equal (such as "a" and "A") are put
// in the byte order of the lines, so the result never depends on the input order; the
// descending order is the exact reverse of the ascending one.
std::vector<std::string_view> SortLines(LineSpan lines, SortOrder order);

}  // namespace haruvi::textcmd
