// The grep report: header and line-number options, paths in Shift_JIS, matching lines
// written byte for byte, one whole line per call of the sink, and TGrep feeding it.
#include "search/grep_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;

struct Report {
  std::vector<std::string> calls;
  std::string Bytes() const {
    std::string all;
    for (const auto& c : calls) all += c;
    return all;
  }
};

GrepPrinter Printer(Report& report, bool headers, bool numbers) {
  return GrepPrinter({.file_headers = headers, .line_numbers = numbers},
                     [&report](std::string_view line) { report.calls.emplace_back(line); });
}

RE_LineInfo_t Line(std::string text, std::int64_t number) { return {std::move(text), number}; }

// Two files, the second without matches: its header still appears.
TEST(GrepPrinter, OptionsChooseHeadersAndNumberedLines) {
  const std::string header_a = S("// 検索ファイル [ ") + "/d/a.txt ]\r\n";
  const std::string header_b = S("// 検索ファイル [ ") + "/d/b.txt ]\r\n";
  const struct {
    bool headers, numbers;
    std::string out;
  } rows[] = {
      {false, false, "x\r\ny\r\n"},
      {false, true, "/d/a.txt(2) :x\r\n/d/a.txt(10) :y\r\n"},
      {true, false, header_a + "x\r\ny\r\n" + header_b},
      {true, true, header_a + "/d/a.txt(2) :x\r\n/d/a.txt(10) :y\r\n" + header_b},
  };
  for (const auto& r : rows) {
    Report report;
    GrepPrinter printer = Printer(report, r.headers, r.numbers);
    printer.BeginFile("/d/a.txt");
    printer.Match(Line("x", 2));
    printer.Match(Line("y", 10));
    printer.BeginFile("/d/b.txt");
    EXPECT_EQ(report.Bytes(), r.out) << r.headers << r.numbers;
    for (const auto& call : report.calls) {
      EXPECT_TRUE(call.ends_with("\r\n")) << call;
      EXPECT_EQ(call.find("\r\n"), call.size() - 2) << call;
    }
    EXPECT_EQ(printer.MatchCount(), 2);
  }
}

TEST(GrepPrinter, PathsAreShownInShiftJisOrAsTheirBytes) {
  Report report;
  GrepPrinter printer = Printer(report, true, true);
  printer.BeginFile("/d/〜名前.txt");
  printer.Match(Line("x", 1));
  const std::string sjis_path = "/d/\x81\x60\x96\xBC\x91\x4F.txt";
  EXPECT_EQ(report.Bytes(), S("// 検索ファイル [ ") + sjis_path + " ]\r\n" + sjis_path + "(1) :x\r\n");
  report.calls.clear();
  printer.BeginFile("/d/bad\xFF.txt");
  printer.Match(Line("x", 3));
  EXPECT_EQ(report.Bytes(), S("// 検索ファイル [ ") + "/d/bad\xFF.txt ]\r\n/d/bad\xFF.txt(3) :x\r\n");
}

// A UTF-8 report for the window is UTF-8 throughout: a Shift_JIS name reads as shown;
// without the window's wish the name keeps its bytes.
TEST(GrepPrinter, AUtf8ReportForTheWindowShowsAShiftJisNameInUtf8) {
  const std::string sjis_path = "/d/\x93\xfa\x96\x7b.txt";  // 日本.txt in Shift_JIS
  for (bool shown : {true, false}) {
    Report report;
    GrepPrinter printer({.line_numbers = true, .utf8 = true, .names_as_shown = shown},
                        [&report](std::string_view line) { report.calls.emplace_back(line); });
    printer.BeginFile(sjis_path);
    printer.Match(Line("x", 1));
    EXPECT_EQ(report.Bytes(), (shown ? std::string("/d/日本.txt") : sjis_path) + "(1) :x\r\n");
  }
}

TEST(GrepPrinter, MatchingLinesKeepEveryByte) {
  const std::string odd("a\0b\x82\xFF\r\x81", 7);  // NUL, broken pair, lone CR, lead at the end
  Report plain, numbered;
  GrepPrinter p1 = Printer(plain, false, false), p2 = Printer(numbered, false, true);
  p1.BeginFile("f");
  p2.BeginFile("f");
  p1.Match(Line(odd, 1));
  p2.Match(Line(odd, 1));
  p1.Match(Line("", 2));
  EXPECT_EQ(plain.Bytes(), odd + "\r\n\r\n");
  EXPECT_EQ(numbered.Bytes(), "f(1) :" + odd + "\r\n");
}

TEST(GrepPrinter, TakesTheResultsOfTGrep) {
  haruvi::test::TempDir dir;
  auto a = dir.Write("a.txt", S("一行目\r\n二行目 match\rlast match"));
  auto b = dir.Write("b.txt", "");
  Report report;
  GrepPrinter printer = Printer(report, true, true);
  TGrep grep;
  grep.SetRegExp("match");
  grep.OnMatch = printer.Handler();
  for (const auto& f : {a, b}) {
    printer.BeginFile(f.string());
    grep.GrepFile(f);
  }
  EXPECT_EQ(report.Bytes(), S("// 検索ファイル [ ") + a.string() + " ]\r\n" + a.string() + "(2) :" +
                                S("二行目 match") + "\r\n" + a.string() + "(3) :last match\r\n" +
                                S("// 検索ファイル [ ") + b.string() + " ]\r\n");
  EXPECT_EQ(printer.MatchCount(), 2);
}

}  // namespace
}  // namespace haruvi::search
