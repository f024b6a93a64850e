// haruvi-tool text: every command reachable by name, refusals with exit code 2.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "sjis_text.h"

namespace haruvi::textcmd {
namespace {

using haruvi::test::RunTool;
using test::Sj;

TEST(TextTool, CommandsByNameWithCrLfOutput) {
  struct Row {
    std::vector<std::string> args;
    std::string in, out;
  } rows[] = {
      {{"text", "sort-asc"}, "b\nB\na", "a\r\nB\r\nb\r\n"},
      {{"text", "sort-desc"}, "b\nB\na", "b\r\nB\r\na\r\n"},
      {{"text", "number", "1"}, "x\ny", "1 x\r\n2 y\r\n"},
      {{"text", "serial", "X0000", "1"}, "x\ny", "X0001 x\r\nX0002 y\r\n"},
      {{"text", "reverse"}, Sj("あいu"), Sj("uいあ") + "\r\n"},
      {{"text", "dup-line", "2"}, "a\nb", "a\r\nb\r\nb\r\n"},
      {{"text", "del-line", "1"}, "a\nb", "b\r\n"},
      {{"text", "trim-left"}, "  a ", "a \r\n"},
      {{"text", "trim-right"}, "  a ", "  a\r\n"},
      {{"text", "del-spaces"}, " a b ", "ab\r\n"},
      {{"text", "del-fullwidth-spaces"}, Sj("あ　い"), Sj("あい") + "\r\n"},
      {{"text", "del-tabs"}, "\ta\tb", "ab\r\n"},
      {{"text", "del-leading-tabs"}, "\ta\tb", "a\tb\r\n"},
      {{"text", "tab-to", ","}, "a\tb", "a,b\r\n"},
      {{"text", "fullwidth-space-to-spaces"}, Sj("あ　"), Sj("あ  ") + "\r\n"},
      {{"text", "del-line-ends"}, "a\r\nb\nc", "abc\r\n"},
      {{"text", "del-line-ends-range", "0", "3"}, "a\r\nb\r\nc", "ab\r\nc\r\n"},
      {{"text", "del-empty"}, "a\n\nb\n", "a\r\nb\r\n"},
      {{"text", "del-repeated"}, "a\na\nb\na", "a\r\nb\r\na\r\n"},
      {{"text", "del-same-key", "4"}, "abc1\nabc2\nabd3", "abc1\r\nabd3\r\n"},
      {{"text", "line-end-detect"}, "a\nb\r\n", "3\n"},
      {{"text", "line-end", "crlf", "lf"}, "a\r\nb\r\n", "a\nb\n"},
      {{"text", "line-end-auto"}, "a\rb\r", "a\r\nb\r\n"},
      {{"text", "html"}, "<P>Hello<BR>World</P>", "\r\n\r\nHello\r\nWorld\r\n"},
      {{"text", "html-all"}, "<p>\t  x<br><br>y", "x\r\ny\r\n"},
      {{"text", "html-tabs"}, "<p>\t  x<br><br>y", "  x\r\ny\r\n"},
      {{"text", "html-empty"}, "<p>\t  x<br><br>y", "\t  x\r\ny\r\n"},
      {{"text", "tex"}, "\\section{Intro} text % note\n\\vspace{1cm}x", "{Intro} text \r\nx\r\n"},
      {{"text", "break", "4"}, "abcdefgh", "abcd\r\nefgh\r\n"},
      {{"text", "break-insert", "4", "X"}, "abcdefgh", "abcdX\r\nefgh\r\n"},
      {{"text", "insert", "3", "X"}, "abcdef", "abXcdef\r\n"},
      {{"text", "del-columns", "3", "2"}, "abcdef", "abef\r\n"},
      {{"text", "extract-columns", "3", "2"}, "abcdef", "cd\r\n"},
      {{"text", "csv", "2", "\"", ","}, "a\nb\nc", "\"a\",\"b\"\r\n\"c\"\r\n"},
      {{"text", "csv-hex", "3", "09"}, "x\ny\nz", "x\ty\tz\r\n"},
  };
  for (const auto& r : rows) {
    auto res = RunTool(r.args, r.in);
    EXPECT_EQ(res.exit_code, 0) << r.args[1] << ": " << res.err;
    EXPECT_EQ(res.out, r.out) << r.args[1];
  }
}

TEST(TextTool, BadParametersAreRefusedWithoutOutput) {
  std::vector<std::vector<std::string>> bad = {
      {"text"},
      {"text", "no-such"},
      {"text", "number", "5"},
      {"text", "number"},
      {"text", "serial", "X0", "one"},
      {"text", "break", "0"},
      {"text", "break", "x"},
      {"text", "break", "65354"},
      {"text", "insert", "99999999999999999999", "X"},
      {"text", "del-columns", "1", "-1"},
      {"text", "csv", "0", "", ","},
      {"text", "csv", "-2", "", ","},
      {"text", "csv-hex", "1", "100"},
      {"text", "csv-hex", "1", "zz"},
      {"text", "line-end", "crlf", "xx"},
      {"text", "del-line", "0"},
      {"text", "del-empty", "a", "b"},
  };
  for (const auto& args : bad) {
    auto res = RunTool(args, "a\nb\n");
    EXPECT_EQ(res.exit_code, 2) << args.back();
    EXPECT_TRUE(res.out.empty()) << args.back();
    EXPECT_FALSE(res.err.empty()) << args.back();
  }
}

TEST(TextTool, ReadsANamedFile) {
  haruvi::test::TempDir dir;
  auto path = dir.Write("lines.txt", Sj("さくら\r\nカメラ\nあめ\r"));
  auto res = RunTool({"text", "sort-asc", path.string()});
  EXPECT_EQ(res.exit_code, 0) << res.err;
  EXPECT_EQ(res.out, Sj("あめ\r\nカメラ\r\nさくら\r\n"));
}

TEST(TextTool, AStreamGivesWhatTheSameFileGives) {
  // Several megabytes through standard input, which is read into a buffer grown in place.
  std::string text;
  for (int k = 0; text.size() < (5u << 20); ++k)
    text += "<p>line " + std::to_string(k * 7919 % 100003) + " &amp; &copy;" + Sj("さくら") + "\n";
  haruvi::test::TempDir dir;
  auto path = dir.Write("page.html", text);
  for (const char* cmd : {"html", "sort-asc"}) {
    auto piped = RunTool({"text", cmd}, text);
    auto named = RunTool({"text", cmd, path.string()});
    EXPECT_EQ(piped.exit_code, 0) << cmd;
    EXPECT_TRUE(piped.out == named.out) << cmd;
    EXPECT_GT(piped.out.size(), 3u << 20) << cmd;
  }
}

// Millions of empty lines: every line command costs a few bytes a line at most (it took
// over 50 bytes a line, 60 times the input, when each line was a view and a sort entry).
// The peak above the same command's on a two-line file stays within three times the
// input (and 4 MiB for the output block and the allocator's own), and the output is every
// line with CR LF.
TEST(TextTool, ManyEmptyLinesCostAFewBytesALine) {
  haruvi::test::TempDir dir;
  const std::size_t lines = 2u << 20;
  const auto small = dir.Write("small.txt", "b\na\n");
  const auto big = dir.Write("big.txt", std::string(lines, '\n'));
  const std::string out = (dir.path() / "out").string();
  for (const char* cmd : {"sort-asc", "del-repeated", "trim-left"}) {
    const auto base = haruvi::test::RunToolOnFiles({"text", cmd, small.string()}, "", out);
    const auto big_run = haruvi::test::RunToolOnFiles({"text", cmd, big.string()}, "", out);
    ASSERT_EQ(base.exit_code, 0) << cmd;
    ASSERT_EQ(big_run.exit_code, 0) << cmd;
    const long peak = big_run.peak_kb;
    EXPECT_LE((peak - base.peak_kb) * 1024, static_cast<long>(3 * lines + (4u << 20)))
        << cmd << ": " << peak << " kB against " << base.peak_kb;
    std::ifstream in(out, std::ios::binary);
    const std::string got((std::istreambuf_iterator<char>(in)), {});
    const std::string want = std::string(cmd) == "del-repeated" ? "\r\n" : [&] {
      std::string all;
      for (std::size_t i = 0; i < lines; ++i) all += "\r\n";
      return all;
    }();
    EXPECT_TRUE(got == want) << cmd << ": " << got.size() << " bytes";
  }
}

TEST(TextTool, MissingFileFails) {
  auto res = RunTool({"text", "del-empty", "/nonexistent/file"});
  EXPECT_EQ(res.exit_code, 1);
  EXPECT_NE(res.err.find("/nonexistent/file"), std::string::npos);
}

}  // namespace
}  // namespace haruvi::textcmd
