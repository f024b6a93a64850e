// The grep report: what grep lists in the pane or writes on the command line. Each file
// may open with the header "// 検索ファイル [ path ]", and each matching line is written
// as it is or after "path(n) :". The report is Shift_JIS (or UTF-8 when asked) with CR LF
// line ends; paths, in UTF-8 on this system, are converted for it. TGrep hands its results to GrepPrinter,
// which hands whole lines to a sink: the tool's output, or the window's pane.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "encoding/utf8_standins.h"
#include "search/grep.h"

namespace haruvi::search {

// "// 検索ファイル [ " in Shift_JIS: the start of a file's header line.
inline constexpr std::string_view kFileHeaderStart =
    "// \x8C\x9F\x8D\xF5\x83\x74\x83\x40\x83\x43\x83\x8B [ ";

struct GrepReportOptions {
  bool file_headers = false;  // a header line before each file's lines
  bool line_numbers = false;  // "path(n) :" before each matching line
  // The report in UTF-8 (header, paths and lines) instead of Shift_JIS.
  bool utf8 = false;
  // In a UTF-8 report, a name that is not UTF-8 (Shift_JIS from an old archive) read as
  // the window shows it, so the report is UTF-8 throughout; off, names keep their bytes.
  bool names_as_shown = false;
};

// Receives the report one whole line at a time, its CR LF included.
using ReportSink = std::function<void(std::string_view line)>;

class GrepPrinter {
 public:
  GrepPrinter(GrepReportOptions options, ReportSink sink);
  // Handler() hands out `this`: a copy or a move would leave the grep writing to the old one.
  GrepPrinter(const GrepPrinter&) = delete;
  GrepPrinter& operator=(const GrepPrinter&) = delete;

  // The next file, named as the file system names it: its header when asked for; the
  // lines that follow are numbered with its path. `standins` (kept by the caller until
  // the next file) says the file is a UTF-8 one grepped in Shift_JIS with stand-ins: its
  // lines go out as they are in the file, or in Shift_JIS with substitutes.
  void BeginFile(std::string_view path, const encoding::Utf8StandIns* standins = nullptr);
  // The next file's lines are UTF-8 as they are in the file (a UTF-8 file searched
  // directly, TGrep::GrepUtf8File).
  void BeginUtf8File(std::string_view path);
  // One matching line of the current file, its bytes written unchanged.
  void Match(const RE_LineInfo_t& line);
  // A TGrep OnMatch handler feeding Match; the printer must outlive the grep's use of it.
  TGrepOnMatch Handler();

  std::int64_t MatchCount() const { return matches_; }

 private:
  void Put();
  const std::string& ReadyPath();

  GrepReportOptions options_;
  ReportSink sink_;
  const encoding::Utf8StandIns* standins_ = nullptr;
  bool utf8_lines_ = false;
  std::string raw_path_;     // the current file's path as the file system names it
  std::string path_;         // and as the report shows it, once path_ready_
  bool path_ready_ = false;
  std::string line_;  // one buffer for every line, so a long report allocates once
  std::int64_t matches_ = 0;
};

}  // namespace haruvi::search
