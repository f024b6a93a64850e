// haruvi-tool grep and gsub: the pane's text on standard output, exit codes, messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "fileops/folder_walk.h"
#include "regex/awk_str.h"
#include "search/grep_report.h"
#include "support/run_process.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace {

using haruvi::test::RunTool;
using haruvi::test::S;
using haruvi::test::TempDir;

TEST(GrepTool, PrintsHeadersAndNumberedLinesInShiftJis) {
  TempDir dir;
  auto a = dir.Write("a.txt", S("一行目\r\n二行目 match\r\n"));
  auto b = dir.Write("b.txt", "nothing\n");
  auto r = RunTool({"grep", "-n", "-H", "match", a.string(), b.string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, S("// 検索ファイル [ ") + a.string() + " ]\r\n" + a.string() + "(2) :" +
                       S("二行目 match") + "\r\n" + S("// 検索ファイル [ ") + b.string() + " ]\r\n");
  r = RunTool({"grep", "match", a.string()});
  EXPECT_EQ(r.out, S("二行目 match") + "\r\n");
}

TEST(GrepTool, PatternsArriveInUtf8AndMayUseTheDictionary) {
  TempDir dir;
  auto a = dir.Write("a.txt", S("カタカナ\r\nかたかな\r\nｶﾀｶﾅ\r\n"));
  EXPECT_EQ(RunTool({"grep", "かたかな", a.string()}).out, S("かたかな") + "\r\n");
  EXPECT_EQ(RunTool({"grep", "--fuzzy", "かたかな", a.string()}).out,
            S("カタカナ\r\nかたかな\r\nｶﾀｶﾅ\r\n"));
  EXPECT_EQ(RunTool({"grep", "--raw", S("カ"), a.string()}).exit_code, 0);
}

TEST(GrepTool, ExitCodesTellMatchNoMatchAndErrors) {
  TempDir dir;
  auto a = dir.Write("a.txt", "abc\n");
  EXPECT_EQ(RunTool({"grep", "zzz", a.string()}).exit_code, 1);
  auto bad = RunTool({"grep", "a**", a.string()});
  EXPECT_EQ(bad.exit_code, 2);
  EXPECT_NE(bad.err.find("普通の文字、または左括弧\"(\"が必要です"), std::string::npos);
  auto missing = RunTool({"grep", "a", (dir / "none.txt").string()});
  EXPECT_EQ(missing.exit_code, 2);
  EXPECT_NE(missing.err.find("No such file or directory"), std::string::npos);
  EXPECT_EQ(RunTool({"grep", "a"}).exit_code, 2);
}

// A mapped file cut short under the grep faults; the tool says so and stops with the
// usage code. The tool is stopped while it reads a big (sparse) file, the file is cut,
// and the tool goes on; a try where it had not begun or had finished is made again.
TEST(GrepTool, AFileCutShortWhileReadIsSaidNotACrash) {
  TempDir dir;
  const std::string big = (dir / "big.txt").string();
  bool said = false;
  for (int attempt = 0; attempt < 10 && !said; ++attempt) {
    const std::string script = "truncate -s 1G '" + big + "'; '" + haruvi::test::ToolPath() + "' grep x '" + big +
                               "' 2>&1 & pid=$!; sleep 0.0" + std::to_string(2 + attempt) +
                               "; kill -STOP $pid; truncate -s 0 '" + big + "'; kill -CONT $pid; wait $pid; echo \"exit $?\"";
    const auto r = haruvi::test::RunProcess("/bin/bash", {"-c", script});
    said = r.out.find(big + ": the file changed while being read") != std::string::npos;
    if (said) {
      EXPECT_NE(r.out.find("exit 2"), std::string::npos) << r.out;
    }
  }
  EXPECT_TRUE(said);
}

TEST(GSubTool, ReplacesInTheWholeInput) {
  auto r = RunTool({"gsub", "[0-9]+", "<&>"}, "a12\r\nb3\r\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, "a<12>\r\nb<3>\r\n");
  r = RunTool({"gsub", "^", "> "}, "x\r\ny");
  EXPECT_EQ(r.out, "> x\r\n> y");
  r = RunTool({"gsub", "表", "\\&"}, S("表と表"));
  EXPECT_EQ(r.out, S("&と&"));
  r = RunTool({"gsub", "z", "y"}, "abc");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "abc");
  EXPECT_EQ(RunTool({"gsub", "(", "y"}, "abc").exit_code, 2);
}

TEST(GSubTool, ABigInputGoesThroughInPiecesAsTheWholeWould) {
  // Several megabytes, long lines among short ones, for a pattern confined to a line, a
  // pattern that takes line ends, and a literal that is cut for within a line.
  std::string text;
  for (int k = 0; text.size() < (5u << 20); ++k) {
    text += k % 50 == 0 ? std::string(300000, 'a') : "x" + std::to_string(k) + S("表") + "ab";
    text += k % 3 ? "\r\n" : "\n";
  }
  for (const char* pattern : {"[0-9]+b?", "\\r\\n", "ab", "^x"}) {
    haruvi::regex::TAWKStr awk;
    awk.LineSeparator = haruvi::regex::mcls_CRLF;
    awk.SetRegExp(pattern);
    std::string whole = text;
    awk.GSub("<&>", whole);
    const auto r = RunTool({"gsub", "--raw", pattern, "<&>"}, text);
    EXPECT_EQ(r.exit_code, 0) << pattern;
    EXPECT_TRUE(r.out == whole) << pattern;
  }
}

TEST(GrepTool, ALineLongerThanTheLimitIsRefusedByName) {
  haruvi::test::TempDir dir;
  const std::size_t length = (65u << 20);  // past 64 MiB by more than a read block
  const auto file = dir.Write("long.txt", "ab\r\n" + std::string(length, 'a') + "b\r\n");
  const auto grep = RunTool({"grep", "b", file.string()});
  EXPECT_EQ(grep.exit_code, 2);
  EXPECT_TRUE(grep.out == "ab\r\n");  // what came before is reported
  EXPECT_NE(grep.err.find("grep: " + file.string() + ": a line longer than 64 MiB"), std::string::npos) << grep.err;
  const auto gsub = RunTool({"gsub", "a+b", "x", file.string()});  // no bound on a match's length
  EXPECT_EQ(gsub.exit_code, 2);
  EXPECT_NE(gsub.err.find("gsub: a line longer than 64 MiB"), std::string::npos) << gsub.err;
}

// grep -r against a reference walk: one TGrep over the same walk, file after file, for
// any worker count; links are not followed; FIFOs and unreadable files are reported on
// standard error and the search goes on.
TEST(GrepTool, TreeGrepMatchesTheReferenceWalkWithAnyWorkerCount) {
  TempDir dir;
  for (int d = 0; d < 4; ++d)
    for (int f = 0; f < 25; ++f) {
      std::string body;
      for (int l = 0; l < 30 + f; ++l) body += (l % (f + 2) == 0 ? S("文字コード ") : std::string("plain ")) + std::to_string(l) + "\r\n";
      dir.Write("t/d" + std::to_string(d) + "/f" + std::to_string(f) + ".txt", body);
    }
  std::vector<std::string> files;
  haruvi::fileops::FindFiles((dir.path() / "t").string(), "*.*", files);
  std::string want;
  haruvi::search::TGrep grep;
  grep.SetRegExp(S("文字コード"));
  haruvi::search::GrepPrinter printer({.file_headers = true, .line_numbers = true},
                                      [&](std::string_view line) { want.append(line); });
  grep.OnMatch = printer.Handler();
  for (const std::string& f : files) {
    printer.BeginFile(f);
    grep.GrepFile(f);
  }
  for (const char* jobs : {"-j1", "-j2", "-j7"}) {
    const auto r = RunTool({"grep", "-r", jobs, "-n", "-H", "文字コード", (dir.path() / "t").string()});
    EXPECT_EQ(r.exit_code, 0) << jobs;
    EXPECT_TRUE(r.out == want) << jobs;
  }
  const auto defaults = RunTool({"grep", "-r", "-n", "文字コード", (dir.path() / "t").string()});
  EXPECT_EQ(defaults.exit_code, 0);
  EXPECT_EQ(RunTool({"grep", "-r", "-j", "0", "x", dir.path().string()}).exit_code, 2);
  EXPECT_EQ(RunTool({"grep", "-j", "2", "x", dir.path().string()}).exit_code, 2);  // -j goes with -r
}

TEST(GrepTool, TreeGrepSkipsLinksAndReportsWhatItCannotRead) {
  TempDir dir;
  dir.Write("t/a.txt", "hit a\n");
  const auto outside = dir.Write("outside/o.txt", "hit outside\n");
  ASSERT_EQ(::symlink(outside.c_str(), (dir.path() / "t/link.txt").c_str()), 0);
  ASSERT_EQ(::symlink((dir.path() / "outside").c_str(), (dir.path() / "t/linkdir").c_str()), 0);
  ASSERT_EQ(::mkfifo((dir.path() / "t/fifo").c_str(), 0600), 0);
  dir.Write("t/z/z.txt", "hit z\n");
  const auto r = RunTool({"grep", "-r", "-j2", "hit", (dir.path() / "t").string()});
  EXPECT_EQ(r.out, "hit a\r\nhit z\r\n");
  EXPECT_NE(r.err.find("fifo: not a regular file"), std::string::npos) << r.err;
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(RunTool({"grep", "-r", "hit", (dir.path() / "t/z").string()}).exit_code, 0);
}

}  // namespace

namespace {

// The same typed word in a folder of every code and form.
TEST(GrepTool, FindsATypedWordInFilesOfEveryCodeAndPrintsTheFormAsked) {
  TempDir dir;
  const std::string line = "日本語の文 😀\r\n";  // 😀 has no Shift_JIS code
  dir.Write("t/1.sjis", S("日本語の文\r\nother\r\n"));
  dir.Write("t/2.euc", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xCA\xB8\r\nother\r\n");
  dir.Write("t/3.jis", "\x1B$BF|K\\8l$NJ8\x1B(B\r\nother\r\n");
  dir.Write("t/4.utf8", "other\r\n" + line);
  dir.Write("t/5.bom", "\xEF\xBB\xBF" + line);
  dir.Write("t/6.utf16", std::string("\xFF\xFE\xE5\x65\x2C\x67\x9E\x8A\r\0\n\0", 12));  // 日本語
  const std::string folder = (dir / "t").string();
  auto r = RunTool({"grep", "-r", "-j", "1", "--out", "utf8", "日本語", folder});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = r.out.find("\r\n", at)) != std::string::npos; at = end + 2)
    lines.push_back(r.out.substr(at, end - at));
  std::sort(lines.begin(), lines.end());  // the walk's order is the folder's
  const std::string found = line.substr(0, line.size() - 2);
  EXPECT_EQ(lines, (std::vector<std::string>{"日本語", "日本語の文", "日本語の文", "日本語の文", found, found}));
  // In Shift_JIS, what it cannot hold is "〓"; line numbers count the file's own lines.
  r = RunTool({"grep", "-n", "--out", "sjis", "日本語", folder + "/4.utf8"});
  EXPECT_EQ(r.out, folder + "/4.utf8(2) :" + S("日本語の文 〓") + "\r\n");
  // A character outside Shift_JIS is one character: "." takes it whole.
  EXPECT_EQ(RunTool({"grep", "--out", "utf8", "文 .$", folder + "/4.utf8"}).out, line);
  EXPECT_EQ(RunTool({"grep", "--out", "utf8", "文 ..$", folder + "/4.utf8"}).out, "");
  EXPECT_EQ(RunTool({"grep", "--out", "bad", "x", folder}).exit_code, 2);
}

}  // namespace
