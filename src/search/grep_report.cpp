// The grep report's lines; see grep_report.h.
#include "search/grep_report.h"

#include <utility>

#include "encoding/display_name.h"
#include "encoding/unicode_convert.h"
#include "encoding/utf8_sjis.h"

namespace haruvi::search {

GrepPrinter::GrepPrinter(GrepReportOptions options, ReportSink sink)
    : options_(options), sink_(std::move(sink)) {}

void GrepPrinter::BeginUtf8File(std::string_view path) {
  BeginFile(path);
  utf8_lines_ = true;
}

void GrepPrinter::BeginFile(std::string_view path, const encoding::Utf8StandIns* standins) {
  standins_ = standins;
  utf8_lines_ = false;
  // Most files of a tree have no match: their path is put in the report's form only
  // when a line or the header needs it.
  raw_path_.assign(path);
  path_ready_ = false;
  if (!options_.file_headers) return;
  ReadyPath();
  if (options_.utf8) line_.assign(encoding::SjisToUtf8(kFileHeaderStart));
  else line_.assign(kFileHeaderStart);
  line_.append(path_).append(" ]");
  Put();
}

const std::string& GrepPrinter::ReadyPath() {
  if (!path_ready_) {
    if (!options_.utf8) path_ = encoding::PathToSjis(raw_path_);
    else path_ = options_.names_as_shown ? encoding::NameForDisplay(raw_path_) : raw_path_;
    path_ready_ = true;
  }
  return path_;
}

void GrepPrinter::Match(const RE_LineInfo_t& line) {
  ++matches_;
  line_.clear();
  if (options_.line_numbers) line_.append(ReadyPath()).append("(").append(std::to_string(line.LineNo)).append(") :");
  if (utf8_lines_) {
    line_.append(options_.utf8 ? line.Line : encoding::Utf8ToSjisCounted(line.Line));
  } else if (standins_) {
    const std::string utf8 = standins_->ToUtf8(line.Line);  // the file's own bytes
    line_.append(options_.utf8 ? utf8 : encoding::Utf8ToSjisCounted(utf8));
  } else if (options_.utf8) {
    line_.append(encoding::SjisToUtf8(line.Line));
  } else {
    line_.append(line.Line);
  }
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
