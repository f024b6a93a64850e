// Any bytes and any parameter give a result: random texts through every command, and a
// long line without a line end through the ones that walk characters.
#include <gtest/gtest.h>

#include <random>

#include "textcmd/columns.h"
#include "textcmd/csv.h"
#include "textcmd/html_strip.h"
#include "textcmd/line_end.h"
#include "textcmd/line_ops.h"
#include "textcmd/sort_lines.h"
#include "textcmd/tex_strip.h"

namespace haruvi::textcmd {
namespace {

std::string RandomBytes(std::mt19937& rng, std::size_t n) {
  // Mostly markup, line ends and lead bytes, where the rules have their corners.
  static const std::string kInteresting = "<>!-&;\\{}[]%\r\n\t \x81\x40\x82\xA0\x88\x9F\xFC\xFD\x00";
  std::string s(n, '\0');
  for (char& c : s) {
    unsigned r = rng();
    c = (r & 1) ? kInteresting[r % kInteresting.size()] : static_cast<char>(r >> 8);
  }
  return s;
}

TEST(BadInput, RandomTextsThroughEveryCommand) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 300; ++round) {
    std::string text = RandomBytes(rng, rng() % 400);
    auto lines = SplitLines(text);
    std::size_t a = rng() % 12, b = rng() % 12;
    std::string small = RandomBytes(rng, rng() % 3);
    EXPECT_LE(SortLines(lines, SortOrder::kAscending).size(), lines.size());
    EXPECT_EQ(linenumber(lines, static_cast<int>(a % 6)).size(), lines.size());
    EXPECT_EQ(AddSerialNumbers(lines, small, static_cast<std::int64_t>(rng()) - INT32_MAX, a, b).size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(strreverse(lines[i]).size(), lines[i].size());
    DuplicateLine(lines, a);
    DeleteLine(lines, a);
    TrimLeadingSpaces(lines);
    TrimTrailingSpaces(lines);
    DeleteAllSpaces(text);
    DeleteAllFullWidthSpaces(text);
    DeleteLeadingTabs(lines);
    tabreplace(lines, small);
    FullWidthSpacesToSpaces(lines);
    DeleteEmptyLines(lines);
    DeleteRepeatedLines(lines);
    DeleteSameKeyLines(lines, static_cast<std::int64_t>(a) - 3);
    ConvertLineEnd(text, static_cast<TLineEnd>(a % 4), static_cast<TLineEnd>(b % 4));
    RemoveLineEnds(text, a, b);
    StripHtml(lines);
    StripTex(text);
    BreakAtColumn(lines, a, small);
    InsertAtColumn(lines, a, small);
    DeleteColumns(lines, a, b);
    ExtractColumns(lines, a, b);
    linecsv(lines, small, small, a);
  }
}

TEST(BadInput, LongLineWithoutLineEnd) {
  std::string line;
  while (line.size() < (2u << 20)) line += "\x82\xA0<b>abc &amp; \x88\x9F\\section{x} % ";
  auto lines = SplitLines(line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(strreverse(line).size(), line.size());
  EXPECT_EQ(TrimTrailingSpaces(lines)[0].size(), line.size() - 1);
  EXPECT_EQ(ExtractColumns(lines, line.size() - 3, 99)[0], "} % ");
  EXPECT_EQ(BreakAtColumn(lines, kMaxColumn).size(), line.size() / kMaxColumn + 1);
  EXPECT_FALSE(StripHtml(lines).text.empty());
  EXPECT_FALSE(StripTex(line).empty());
  EXPECT_EQ(SortLines(lines, SortOrder::kDescending).size(), 1u);
}

}  // namespace
}  // namespace haruvi::textcmd
