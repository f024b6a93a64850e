// The line filters; see line_filter.h. Regular expressions run on TAWKStr with CR LF as
// its line separator, as regex replace does.
#include "search/line_filter.h"

#include "encoding/line_scan.h"
#include "regex/awk_str.h"
#include "search/text_find.h"

namespace haruvi::search {
namespace {

bool Contains(std::string_view line, std::string_view needle) {
  return !needle.empty() && line.find(needle) != std::string_view::npos;
}

void Compile(regex::TAWKStr& awk, std::string_view pattern, bool fuzzy) {
  awk.LineSeparator = regex::mcls_CRLF;
  awk.SetUseFuzzyCharDic(fuzzy);
  awk.SetRegExp(pattern);
}

LineFilterResult ByPattern(std::string_view text, std::string_view pattern, bool fuzzy, bool keep_matching) {
  regex::TAWKStr awk;
  Compile(awk, pattern, fuzzy);
  LineFilterResult r;
  for (std::string_view line : encoding::LinesOf(text)) {
    const bool hit = awk.Match(line).position >= 1;
    if (hit == keep_matching) r.lines.emplace_back(line);
    else ++r.count;
  }
  if (keep_matching) r.count = r.lines.size();
  return r;
}

}  // namespace

LineFilterResult PickLines(std::string_view text, std::string_view needle) {
  LineFilterResult r;
  for (std::string_view line : encoding::LinesOf(text))
    if (Contains(line, needle)) r.lines.emplace_back(line);
  r.count = r.lines.size();
  return r;
}

LineFilterResult DeleteLines(std::string_view text, std::string_view needle) {
  LineFilterResult r;
  for (std::string_view line : encoding::LinesOf(text)) {
    if (Contains(line, needle)) ++r.count;
    else r.lines.emplace_back(line);
  }
  return r;
}

LineFilterResult PickLinesMatching(std::string_view text, std::string_view pattern, bool fuzzy) {
  return ByPattern(text, pattern, fuzzy, true);
}

LineFilterResult DeleteLinesMatching(std::string_view text, std::string_view pattern, bool fuzzy) {
  return ByPattern(text, pattern, fuzzy, false);
}

std::string DeleteWord(std::string_view text, std::string_view word) {
  if (word.empty()) return std::string(text);
  return ReplaceAll(text, word, {}, FindOptions{true, false, true}).text;
}

std::vector<std::string> DeleteLinesOfList(std::string_view text, const std::vector<std::string>& entries, bool regex,
                                           bool fuzzy) {
  std::vector<std::string> lines;
  for (std::string_view line : encoding::LinesOf(text)) lines.emplace_back(line);
  for (const std::string& entry : entries) {
    if (regex) {
      if (entry.empty()) {  // an empty pattern matches every line
        lines.clear();
        continue;
      }
      regex::TAWKStr awk;
      Compile(awk, entry, fuzzy);
      std::erase_if(lines, [&](const std::string& l) { return awk.Match(l).position >= 1; });
    } else {
      std::erase_if(lines, [&](const std::string& l) { return Contains(l, entry); });
    }
  }
  return lines;
}

std::string DeleteWordsOfList(std::string_view text, const std::vector<std::string>& entries, bool regex, bool fuzzy) {
  std::string out(text);
  for (const std::string& entry : entries) {
    if (!regex) {
      out = DeleteWord(out, entry);
    } else if (!entry.empty()) {
      regex::TAWKStr awk;
      Compile(awk, entry, fuzzy);
      awk.GSub("", out);
    }
  }
  return out;
}

std::vector<std::string> ParseListFile(std::string_view bytes) {
  std::vector<std::string> entries;
  for (std::string_view line : encoding::LinesOf(bytes)) entries.emplace_back(line);
  return entries;
}

std::string FormatListFile(const std::vector<std::string>& entries) {
  std::string out;
  for (const std::string& e : entries) out.append(e).append("\r\n");
  return out;
}

}  // namespace haruvi::search
