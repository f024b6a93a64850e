// TGrep over real files: which lines are reported, with which numbers, under the reading
// rules (CR LF / CR / LF as one line end, zero as space, double-byte characters whole),
// with every scanner and with blocks of 1, 2, 3 bytes and the real size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sjis.h"
#include "regex/regex_error.h"
#include "search/grep.h"
#include "support/temp_dir.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;
using haruvi::test::TempDir;
using Lines = std::vector<std::pair<std::int64_t, std::string>>;

Lines Grep(TGrep& g, const std::filesystem::path& file) {
  Lines out;
  g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { out.emplace_back(li.LineNo, li.Line); };
  g.GrepFile(file);
  return out;
}

const TGrep::Scanner kScanners[] = {TGrep::Scanner::Nothing, TGrep::Scanner::LineAutomaton,
                                    TGrep::Scanner::Automaton};
const std::size_t kBlocks[] = {1, 2, 3, TTxtFile::kBlockSize};

// Runs every scanner with every block size, the file read and the file mapped, and
// expects the same lines from all.
Lines GrepAllWays(const std::string& pattern, const std::string& content, bool fuzzy = false) {
  TempDir dir;
  auto file = dir.Write("f.txt", content);
  Lines first;
  bool have = false;
  for (auto scanner : kScanners) {
    for (std::size_t block : kBlocks) {
      for (std::uint64_t map_from : {TTxtFile::kMapFrom, std::uint64_t{1}}) {
        TGrep g;
        g.SetUseFuzzyCharDic(fuzzy);
        g.SetRegExp(pattern);
        g.ForceScanner(scanner);
        g.SetBlockSize(block);
        g.SetMapFrom(map_from);
        Lines got = Grep(g, file);
        if (!have) {
          first = got;
          have = true;
        } else {
          EXPECT_EQ(got, first) << "pattern " << pattern << " scanner " << static_cast<int>(scanner)
                                << " block " << block << " mapped from " << map_from;
        }
      }
    }
  }
  return first;
}

struct Row {
  std::string pattern;
  std::string content;
  Lines lines;
};

TEST(GrepLines, ReportsEachMatchingLineOnceWithItsNumber) {
  const Row rows[] = {
      {"b", "abc\r\nxyz\r\nbb\r\n", {{1, "abc"}, {3, "bb"}}},
      {"b", "a\rb\rc", {{2, "b"}}},                        // CR-only line ends
      {"c", "a\nb\nc", {{3, "c"}}},                        // last line without line end
      {"c$", "a\nb\nc", {{3, "c"}}},
      {"^a", "a\nba\nab\n", {{1, "a"}, {3, "ab"}}},
      {"b$", "ab\r\nba\r\nb", {{1, "ab"}, {3, "b"}}},
      {"^", "a\r\n\r\nb\r\n", {{1, "a"}, {2, ""}, {3, "b"}}},
      {"$", "a\rb", {{1, "a"}, {2, "b"}}},
      {"()", "a\nb\n", {}},
      {"", "a\nb\n", {}},
      {"x*", "a\nxx\n", {{2, "xx"}}},                      // a match takes at least one character
      {"a b", std::string("a\0b\nab\n", 7), {{1, std::string("a\0b", 3)}}},  // zero reads as a space
      {"^$", "a\n\nb\n\n", {{2, ""}, {4, ""}}},
      {"a\\nb", "xa\nbz\nab\n", {{1, "xa"}}},             // a match may run into the next line
      {"(a\\n)*b", "a\nxa\nb\n", {{2, "xa"}, {3, "b"}}},  // ... and on through lines
      {"[0-9]+x", "12\n3x\n", {{2, "3x"}}},
      {"z", "", {}},
      {"a", "\r\n\r\na", {{3, "a"}}},
      {"a", "\n\r\r\na", {{4, "a"}}},
      // A line feed may start a match and a single character may end one.
      {"(\\nx|x)?@", "a\n @\n", {{2, " @"}}},
      {"(^x|y)?@", "@\nx@\nz\n", {{1, "@"}, {2, "x@"}}},
      // The line feed of "^" is also in the class: both paths go on from it.
      {"(^|[\\x01-\\x7f]x)a", "xa\nya\n", {{1, "xa"}}},
  };
  for (const auto& r : rows) EXPECT_EQ(GrepAllWays(r.pattern, r.content), r.lines) << r.pattern;
}

TEST(GrepLines, NeverMatchesInsideADoubleByteCharacter) {
  const Row rows[] = {
      {"A", S("ア\r\nA\r\n"), {{2, "A"}}},                 // ア = 83 41
      {"\\\\", S("表\r\n\\\r\n"), {{2, "\\"}}},            // 表 = 95 5C
      {S("ア"), S("アア\r\nxア\r\n"), {{1, S("アア")}, {2, S("xア")}}},
      {"@", "\x81@x", {}},                               // 81 40 is the full-width space
      {".x", "\x83\nx\n", {}},                              // a lead byte before a line end stands alone
      {"\\x83$", "a\x83\nb\n", {{1, "a\x83"}}},
      {S("[ァ-ヶ]+"), S("abc\r\nアイ\r\n"), {{2, S("アイ")}}},
      // Any byte but a line end is a trail byte after a lead byte, even 00 and digits.
      {" ", std::string("\x81\0\r\nx \n", 7), {{2, "x "}}},
      {"[0-9]+x", "\x81" "0x\n1x\n", {{2, "1x"}}},
  };
  for (const auto& r : rows) EXPECT_EQ(GrepAllWays(r.pattern, r.content), r.lines) << r.pattern;
}

TEST(GrepLines, FuzzyDictionaryFindsWidthAndCaseVariants) {
  std::string text = S("ABC\r\nａｂｃ\r\nＡｂｃ\r\nabd\r\nabc\r\n");
  Lines all = {{1, S("ABC")}, {2, S("ａｂｃ")}, {3, S("Ａｂｃ")}, {5, "abc"}};
  EXPECT_EQ(GrepAllWays("abc", text, true), all);
  EXPECT_EQ(GrepAllWays("abc", text, false), (Lines{{5, "abc"}}));
}

TEST(GrepLines, LongLinesAndBlockEdgesDeliverWholeLines) {
  std::string big(1 << 20, 'x');
  big[700000] = 'Q';
  std::string text = "a\r\n" + big + "\r\nQ";
  TempDir dir;
  auto file = dir.Write("big.txt", text);
  for (auto scanner : kScanners) {
    TGrep g;
    g.SetRegExp("Q");
    g.ForceScanner(scanner);
    Lines got = Grep(g, file);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], (std::pair<std::int64_t, std::string>(2, big)));
    EXPECT_EQ(got[1], (std::pair<std::int64_t, std::string>(3, "Q")));
  }
  // A double-byte character split by the block edge is still one character.
  std::string edge = std::string(TTxtFile::kBlockSize - 1, 'y') + S("ア") + "A\n";
  EXPECT_EQ(GrepAllWays("A", edge), (Lines{{1, edge.substr(0, edge.size() - 1)}}));
  EXPECT_EQ(GrepAllWays(S("アA"), edge).size(), 1u);
}

TEST(GrepScannerChoice, LiteralsAreSearchedDirectly) {
  TGrep g;
  g.SetRegExp(S("文字コード"));
  EXPECT_EQ(g.CurrentScanner(), TGrep::Scanner::Literal);
  g.SetRegExp("[0-9]+");
  EXPECT_EQ(g.CurrentScanner(), TGrep::Scanner::LineAutomaton);
  // A match that can go on past a line feed needs the whole-text automaton, also when
  // the line feed leads back to where the pattern starts.
  for (const char* crossing : {"a\\nb", "(a\\n)*b", "(\\n)*b", "(\\na)*"}) {
    g.SetRegExp(crossing);
    EXPECT_EQ(g.CurrentScanner(), TGrep::Scanner::Automaton) << crossing;
  }
  // A line feed that ends every match keeps matches within one line (and its end).
  g.SetRegExp("a\\n");
  EXPECT_EQ(g.CurrentScanner(), TGrep::Scanner::LineAutomaton);
  g.SetRegExp("()");
  EXPECT_EQ(g.CurrentScanner(), TGrep::Scanner::Nothing);
}

TEST(GrepFailures, UnreadableFilesRaiseWithTheSystemMessage) {
  TempDir dir;
  TGrep g;
  g.SetRegExp("a");
  g.OnMatch = [](TGrep&, RE_LineInfo_t&) {};
  try {
    g.GrepFile(dir / "missing.txt");
    FAIL() << "no exception";
  } catch (const EFileNotFound& e) {
    EXPECT_STREQ(e.what(), "No such file or directory");
  }
  EXPECT_THROW(g.GrepFile(dir.path()), EFileNotFound);
  // A device would be one endless line.
  EXPECT_THROW(g.GrepFile("/dev/zero"), EFileNotFound);
  // Without a handler nothing is opened at all.
  TGrep quiet;
  quiet.SetRegExp("a");
  EXPECT_NO_THROW(quiet.GrepFile(dir / "missing.txt"));
}

TEST(GrepFailures, PatternErrorsLeaveAGrepThatReportsNothing) {
  TGrep g;
  EXPECT_THROW(g.SetRegExp("(a"), regex::ERegExpParser);
  EXPECT_EQ(g.RegExp(), "");
  TempDir dir;
  EXPECT_TRUE(Grep(g, dir.Write("a.txt", "a\n")).empty());
}

TEST(GrepCancel, StopsAtTheNextReportOrBlockAndStaysSet) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 50000; ++i) text += "line a\r\n";
  auto file = dir.Write("many.txt", text);
  for (auto scanner : kScanners) {
    TGrep g;
    g.SetRegExp(scanner == TGrep::Scanner::Nothing ? "a" : "[a]");
    g.ForceScanner(scanner);
    int seen = 0;
    g.OnMatch = [&](TGrep& sender, RE_LineInfo_t&) {
      if (++seen == 3) sender.Cancel = true;
    };
    EXPECT_THROW(g.GrepFile(file), EGrepCancel);
    EXPECT_EQ(seen, 3);
    // The request survives into the next file until the command clears it.
    EXPECT_THROW(g.GrepFile(file), EGrepCancel);
    EXPECT_EQ(seen, 3);
  }
  // The stop also takes effect at a block read, before any line is reported.
  TGrep g;
  g.SetRegExp("zzz");
  int idles = 0;
  g.OnIdle = [&] {
    if (++idles == 2) g.Cancel = true;
  };
  g.OnMatch = [](TGrep&, RE_LineInfo_t&) {};
  EXPECT_THROW(g.GrepFile(file), EGrepCancel);
  EXPECT_EQ(idles, 2);
}

}  // namespace
}  // namespace haruvi::search

namespace haruvi::search {
namespace {

TEST(GrepLineLimit, ALineLongerThanTheLimitStopsTheFileWithEveryScanner) {
  TempDir dir;
  const std::string long_line(20000, 'a');
  auto file = dir.Write("f.txt", "ab\r\n" + long_line + "b\r\nb\r\n");
  for (const char* pattern : {"b", "a+b", "^b", "a\\nb"}) {  // literal, line automaton, anchored, automaton
    for (auto scanner : {TGrep::Scanner::Nothing, TGrep::Scanner::Automaton}) {
      for (std::uint64_t map_from : {TTxtFile::kMapFrom, std::uint64_t{1}}) {
        TGrep g;
        g.SetRegExp(pattern);
        g.ForceScanner(scanner);
        g.SetMapFrom(map_from);  // a mapped file's window is bounded as a read one's
        g.SetBlockSize(1000);
        g.SetLineLimit(5000);
        Lines got;
        g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { got.emplace_back(li.LineNo, li.Line); };
        EXPECT_THROW(g.GrepFile(file), ELineTooLong) << pattern;
        g.SetLineLimit(30000);  // room enough: every line as without a limit
        TGrep unbounded;
        unbounded.SetRegExp(pattern);
        unbounded.ForceScanner(scanner);
        EXPECT_EQ(Grep(g, file), Grep(unbounded, file)) << pattern;
      }
    }
  }
}

}  // namespace
}  // namespace haruvi::search
