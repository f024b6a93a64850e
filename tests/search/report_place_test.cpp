// A report line leads back to its file and line: reports printed by the grep printer in
// both codes, for UTF-8 and Shift_JIS names and a name that holds the mark itself, read
// back against a disk of known paths.
#include "search/report_place.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "search/grep_report.h"
#include "support/sjis.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;

// A disk holding `files` and every folder above them.
PathExists Disk(const std::vector<std::string>& files) {
  auto paths = std::make_shared<std::set<std::string>>();
  for (const std::string& f : files) {
    paths->insert(f);
    for (std::size_t slash = f.find('/', 1); slash != std::string::npos; slash = f.find('/', slash + 1))
      paths->insert(f.substr(0, slash));
  }
  return [paths](const std::string& p) { return paths->count(p) > 0; };
}

// Every line start of a report.
std::vector<std::size_t> LineStarts(const std::string& report) {
  std::vector<std::size_t> starts{0};
  for (std::size_t i = report.find("\r\n"); i != std::string::npos; i = report.find("\r\n", i + 2))
    if (i + 2 < report.size()) starts.push_back(i + 2);
  return starts;
}

const std::string kUtf8Name = "/home/u/日本語/メモ.txt";
const std::string kSjisName = "/home/u/日本語/" + S("表示ソ.txt");  // a Shift_JIS name with 0x5C bytes
const std::string kMarkName = "/home/u/a(3) :b.txt";                // the mark inside the name

TEST(ReportPlace, EveryNumberedLineOfEitherCodeLeadsToItsFileAndLine) {
  const PathExists disk = Disk({kUtf8Name, kSjisName, kMarkName});
  for (bool utf8 : {false, true}) {
    std::string report;
    GrepPrinter printer({.file_headers = true, .line_numbers = true, .utf8 = utf8, .names_as_shown = true},
                        [&report](std::string_view line) { report += line; });
    const std::vector<std::pair<std::string, std::int64_t>> hits = {{kUtf8Name, 7}, {kSjisName, 12}, {kMarkName, 3}};
    for (const auto& [path, line] : hits) {
      printer.BeginFile(path);
      printer.Match({"(9) : text (1) :", line});
    }
    std::vector<ReportPlace> places;
    for (std::size_t start : LineStarts(report))
      if (auto p = PlaceOfReportLine(report, start, disk)) places.push_back(*p);
    ASSERT_EQ(places.size(), 6u) << "utf8 " << utf8;
    for (std::size_t i = 0; i < hits.size(); ++i) {
      EXPECT_EQ(places[2 * i].path, hits[i].first) << "header, utf8 " << utf8;
      EXPECT_EQ(places[2 * i].line, 0);
      EXPECT_EQ(places[2 * i + 1].path, hits[i].first) << "line, utf8 " << utf8;
      EXPECT_EQ(places[2 * i + 1].line, hits[i].second);
    }
  }
}

TEST(ReportPlace, APlainLineTakesTheFileOfTheHeaderAboveIt) {
  const PathExists disk = Disk({"/d/a.txt", "/d/b.txt"});
  const std::string report = S("Grepの実行　検索正規表現 = x\r\n\r\n// 検索ファイル [ ") + "/d/a.txt ]\r\nx one\r\n" +
                             S("// 検索ファイル [ ") + "/d/b.txt ]\r\nx two\r\n\r\nx three";
  const std::vector<std::size_t> starts = LineStarts(report);
  EXPECT_FALSE(PlaceOfReportLine(report, starts[0], disk)) << "the report's own head";
  const auto one = PlaceOfReportLine(report, starts[3], disk);
  ASSERT_TRUE(one);
  EXPECT_EQ(one->path, "/d/a.txt");
  EXPECT_EQ(one->text, "x one");
  const auto three = PlaceOfReportLine(report, starts.back(), disk);
  ASSERT_TRUE(three);
  EXPECT_EQ(three->path, "/d/b.txt");
  EXPECT_EQ(three->text, "x three");
  // A report saved with lone CR or LF line ends reads the same way.
  for (const char* end : {"\r", "\n"}) {
    const std::string other = S("// 検索ファイル [ ") + "/d/a.txt ]" + end + "x one" + end + end + "x two";
    const auto two = PlaceOfReportLine(other, other.rfind("x two"), disk);
    ASSERT_TRUE(two) << int(end[0]);
    EXPECT_EQ(two->path, "/d/a.txt");
    EXPECT_EQ(two->text, "x two");
  }
}

TEST(ReportPlace, LinesNamingNoFileOnDiskLeadNowhere) {
  const PathExists disk = Disk({"/d/a.txt"});
  for (const std::string line : {"/d/gone.txt(3) :x", "/d/a.txt(x) :y", "/d/a.txt() :y", "/d/a.txt(3):y", "(3) :y",
                                 "/d/a.txt(99999999999999999999999) :y", ""}) {
    EXPECT_FALSE(PlaceOfReportLine(line, 0, disk)) << line;
  }
  EXPECT_EQ(PlaceOfReportLine("/d/a.txt(3) :y", 0, disk)->line, 3);
  EXPECT_EQ(ResolvePrintedPath("", disk), "");
}

TEST(ReportPlace, LineHoldingFindsTheFirstEqualLineInAnyLineEnd) {
  EXPECT_EQ(LineHolding("a\r\nb\nc\rb", "b"), 2);
  EXPECT_EQ(LineHolding("a\r\nb\nc\rb", "c"), 3);
  EXPECT_EQ(LineHolding("a\r\nb", "b\r"), 0);
  EXPECT_EQ(LineHolding("", ""), 0);
}

}  // namespace
}  // namespace haruvi::search
