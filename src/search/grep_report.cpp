// The grep report's lines; see grep_report.h.
#include "search/grep_report.h"

#include <utility>

#include "encoding/utf8_sjis.h"

namespace haruvi::search {

GrepPrinter::GrepPrinter(GrepReportOptions options, ReportSink sink)
    : options_(options), sink_(std::move(sink)) {}

void GrepPrinter::BeginFile(std::string_view path) {
  path_ = encoding::PathToSjis(path);
  if (!options_.file_headers) return;
  line_.assign(kFileHeaderStart).append(path_).append(" ]");
  Put();
}

void GrepPrinter::Match(const RE_LineInfo_t& line) {
  ++matches_;
  line_.clear();
  if (options_.line_numbers) line_.append(path_).append("(").append(std::to_string(line.LineNo)).append(") :");
  line_.append(line.Line);
  Put();
}

TGrepOnMatch GrepPrinter::Handler() {
  return [this](TGrep&, RE_LineInfo_t& line) { Match(line); };
}

void GrepPrinter::Put() {
  line_.append("\r\n");
  if (sink_) sink_(line_);
}

}  // namespace haruvi::search
