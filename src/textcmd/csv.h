// "行->CSVデータ変換": groups of lines joined into one record line, each line between
// quotes and the lines separated. Quotes inside a line are left as they are.
#pragma once

#include <cstddef>
#include <string_view>

#include "textcmd/lines.h"

namespace haruvi::textcmd {

// `linecsv` of quote `quote` and separator `separator`, `group` lines to a record (a last,
// shorter record too). A group of 0 is refused by the caller (kGroupSizeRefused); here it
// counts as 1 so nothing divides by it.
Lines linecsv(LineSpan lines, std::string_view quote, std::string_view separator,
              std::size_t group);

}  // namespace haruvi::textcmd
