// Where a line of a grep report points: the file and line it names, so the window can
// open them. A report is text (it may have been filtered, saved and opened again), so the
// place is read from the line itself and the path it prints is matched against the disk:
// a report prints a path converted for its code, and a name's reading where the name is
// not UTF-8; each component is tried as printed and in the other code, and only a path
// that exists is taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace haruvi::search {

// True when a path (bytes) names an entry on disk.
using PathExists = std::function<bool(const std::string&)>;

struct ReportPlace {
  std::string path;       // the file's bytes on disk
  std::int64_t line = 0;  // from 1; 0 when the report line carries no number
  // A line under a file's header without a number: its text, to be looked for in the file.
  std::string text;
};

// The file a report prints as `printed`, as it is on disk; empty when none exists.
std::string ResolvePrintedPath(std::string_view printed, const PathExists& exists);

// The place named by the line of `report` that starts at `line_start`: "PATH(N) :..." (the
// first "(N) :" whose path exists), a file header "// 検索ファイル [ PATH ]" (Shift_JIS or
// UTF-8), or a plain line under such a header. nullopt when the line names no file.
std::optional<ReportPlace> PlaceOfReportLine(std::string_view report, std::size_t line_start,
                                             const PathExists& exists);

// The number (from 1) of the first line of `text` equal to `line`; 0 when none is.
std::int64_t LineHolding(std::string_view text, std::string_view line);

}  // namespace haruvi::search
