// Reading a place back from a report line: the printer's formats read from the left, the
// path checked on disk, since a path may itself hold "(1) :" or " ]".
#include "search/report_place.h"

#include <vector>

#include "encoding/display_name.h"
#include "encoding/line_scan.h"
#include "encoding/unicode_convert.h"
#include "encoding/utf8_sjis.h"
#include "search/grep_report.h"

namespace haruvi::search {
namespace {

// The report's own spellings of a name: as printed, Shift_JIS read as UTF-8 (a UTF-8
// name in a Shift_JIS report) and UTF-8 written in CP932 (a CP932 name's reading in a
// UTF-8 report). Only lossless conversions count.
std::vector<std::string> Spellings(std::string_view name) {
  std::vector<std::string> out{std::string(name)};
  if (!encoding::IsValidUtf8(name)) {
    std::size_t lost = 0;
    std::string utf8 = encoding::SjisToUtf8(name, &lost);
    if (lost == 0 && utf8 != name) out.push_back(std::move(utf8));
  } else if (auto sjis = encoding::Utf8ToSjis(name); sjis && *sjis != name) {
    out.push_back(std::move(*sjis));
  }
  return out;
}

std::string_view LineAt(std::string_view text, std::size_t start) {
  if (start > text.size()) return {};
  return encoding::LineCursor(text, start).Line();
}

// "// 検索ファイル [ PATH ]" in either code: the printed path, or nullopt.
std::optional<std::string_view> HeaderPath(std::string_view line) {
  static const std::string utf8_start = encoding::SjisToUtf8(kFileHeaderStart);
  for (std::string_view start : {std::string_view(kFileHeaderStart), std::string_view(utf8_start)}) {
    if (line.size() >= start.size() + 2 && line.substr(0, start.size()) == start && line.substr(line.size() - 2) == " ]")
      return line.substr(start.size(), line.size() - start.size() - 2);
  }
  return std::nullopt;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string ResolvePrintedPath(std::string_view printed, const PathExists& exists) {
  if (printed.empty()) return {};
  for (const std::string& whole : Spellings(printed))
    if (exists(whole)) return whole;
  // Name by name: a report converts the path as a whole, a reading is made name by name.
  std::string path = printed.front() == '/' ? "/" : "";
  std::size_t pos = path.size();
  while (pos < printed.size()) {
    std::size_t slash = printed.find('/', pos);
    if (slash == std::string_view::npos) slash = printed.size();
    const std::string_view name = printed.substr(pos, slash - pos);
    pos = slash + 1;
    if (name.empty()) continue;
    std::string found;
    for (const std::string& spelling : Spellings(name)) {
      std::string candidate = path;
      if (!candidate.empty() && candidate.back() != '/') candidate += '/';
      candidate += spelling;
      if (exists(candidate)) {
        found = std::move(candidate);
        break;
      }
    }
    if (found.empty()) return {};
    path = std::move(found);
  }
  return path;
}

std::optional<ReportPlace> PlaceOfReportLine(std::string_view report, std::size_t line_start, const PathExists& exists) {
  const std::string_view line = LineAt(report, line_start);
  if (auto printed = HeaderPath(line)) {
    std::string path = ResolvePrintedPath(*printed, exists);
    if (path.empty()) return std::nullopt;
    return ReportPlace{std::move(path), 0, {}};
  }
  // "PATH(N) :": the first such mark whose path is a file on disk.
  for (std::size_t open = line.find('('); open != std::string_view::npos; open = line.find('(', open + 1)) {
    std::size_t digits_end = open + 1;
    while (digits_end < line.size() && IsDigit(line[digits_end])) ++digits_end;
    if (digits_end == open + 1 || digits_end - open - 1 > 18 || line.substr(digits_end, 3) != ") :") continue;
    std::string path = ResolvePrintedPath(line.substr(0, open), exists);
    if (path.empty()) continue;
    const std::int64_t number = std::stoll(std::string(line.substr(open + 1, digits_end - open - 1)));
    return ReportPlace{std::move(path), number, {}};
  }
  // A plain line: the header above it names its file (a blank line or a line of the
  // report's own ends the file's lines only at another header).
  std::size_t start = line_start;
  while (start > 0) {
    // The start of the line before: back over its line end, then to the previous one.
    std::size_t end = start;
    if (end > 0 && report[end - 1] == '\n') --end;
    if (end > 0 && report[end - 1] == '\r') --end;
    std::size_t prev = end;
    while (prev > 0 && report[prev - 1] != '\n' && report[prev - 1] != '\r') --prev;
    if (prev >= start) return std::nullopt;  // no step back (never on a real line start)
    start = prev;
    if (auto printed = HeaderPath(report.substr(prev, end - prev))) {
      std::string path = ResolvePrintedPath(*printed, exists);
      if (path.empty()) return std::nullopt;
      return ReportPlace{std::move(path), 0, std::string(line)};
    }
  }
  return std::nullopt;
}

std::int64_t LineHolding(std::string_view text, std::string_view line) {
  std::int64_t number = 1;
  for (std::string_view l : encoding::LinesOf(text)) {
    if (l == line) return number;
    ++number;
  }
  return 0;
}

}  // namespace haruvi::search
