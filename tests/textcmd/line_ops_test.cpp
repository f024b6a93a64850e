// Line operations: before/after tables per command family.
#include <gtest/gtest.h>

#include "textcmd/line_ops.h"
#include "sjis_text.h"

namespace haruvi::textcmd {
namespace {

using namespace test;  // Sj, Views, Strings, V

TEST(SplitLines, EndsAtCrLfLoneCrLoneLfAndNul) {
  struct Row {
    std::string text;
    V lines;
  } rows[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {std::string("ab\0cd\r\nx", 8), {"ab"}},
      {"\r", {""}},
  };
  for (const auto& r : rows) EXPECT_EQ(Strings(SplitLines(r.text)), r.lines) << r.text;
}

TEST(SplitLines, LoneCrTextOfManyLinesIsLinear) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "line\r";
  EXPECT_EQ(SplitLines(text).size(), 200000u);
}

TEST(LineNumbers, WidthFollowsLineCountInEveryLayout) {
  V nine(9, "x"), ten(10, "x");
  EXPECT_EQ(Strings(linenumber(Views(nine), 1))[0], "1 x");
  struct Row {
    int layout;
    std::string first, last;
  } rows[] = {
      {1, " 1 x", "10 x"}, {2, " 1,x", "10,x"}, {3, "x  1", "x 10"}, {4, "x, 1", "x,10"}};
  for (const auto& r : rows) {
    auto out = Strings(linenumber(Views(ten), r.layout));
    EXPECT_EQ(out.front(), r.first) << r.layout;
    EXPECT_EQ(out.back(), r.last) << r.layout;
  }
}

TEST(SerialNumbers, FormatZerosGiveTheDigitCount) {
  V lines = {"a", "b", "c"};
  EXPECT_EQ(Strings(AddSerialNumbers(Views(lines), "No.00", 9, 0, SIZE_MAX)),
            (V{"No.09 a", "No.10 b", "No.11 c"}));
  EXPECT_EQ(Strings(AddSerialNumbers(Views(lines), "", 1, 0, SIZE_MAX)), (V{"1 a", "2 b", "3 c"}));
  EXPECT_EQ(Strings(AddSerialNumbers(Views(lines), "X0000", 1, 1, 1)), (V{"a", "X0001 b", "c"}));
  EXPECT_EQ(Strings(AddSerialNumbers(Views(lines), "0", -1, 0, SIZE_MAX)), (V{"-1 a", "0 b", "1 c"}));
}

TEST(SerialNumbers, LargestNumberDoesNotWrap) {
  V lines = {"a", "b"};
  auto out = Strings(AddSerialNumbers(Views(lines), "", INT64_MAX, 0, SIZE_MAX));
  EXPECT_EQ(out[1], std::to_string(INT64_MAX) + " b");
}

TEST(strreverse, KeepsTwoByteCharactersAndCrLfWhole) {
  EXPECT_EQ(strreverse(Sj("あいu")), Sj("uいあ"));
  EXPECT_EQ(strreverse("ab\r\nc"), "c\r\nba");
  EXPECT_EQ(strreverse("a\x82"), "\x82" "a");  // a lead byte at the end stands alone
  EXPECT_EQ(strreverse(""), "");
}

TEST(Trims, LeadingAndTrailingSpaceRules) {
  const std::string fw = Sj("　");
  struct Row {
    std::string in, left, right;
  } rows[] = {
      {" " + fw + " x", " x", " " + fw + " x"},
      {fw + " x", " x", fw + " x"},
      {"x " + fw + " ", "x " + fw + " ", "x"},
      {"x\t", "x\t", "x\t"},
      {"x \t", "x \t", "x \t"},
      {"x\t ", "x\t ", "x"},
      // 0x88 0x81 is one character, the 0x40 after it is "@", not half a full-width space.
      {"\x88\x81\x40", "\x88\x81\x40", "\x88\x81\x40"},
      {"x" + fw + "\t ", "x" + fw + "\t ", "x"},
      // A lead byte before a TAB: the TAB goes byte by byte, the lead byte stays.
      {"\x81\t ", "\x81\t ", "\x81"},
      {"   ", "", ""},
      {"", "", ""},
  };
  for (const auto& r : rows) {
    V in = {r.in};
    EXPECT_EQ(Strings(TrimLeadingSpaces(Views(in)))[0], r.left) << r.in;
    EXPECT_EQ(Strings(TrimTrailingSpaces(Views(in)))[0], r.right) << r.in;
  }
}

TEST(Spaces, WholeTextDeletionsAreCharacterAware) {
  const std::string fw = Sj("　");
  EXPECT_EQ(DeleteAllSpaces("a b\r\n c "), "ab\r\nc");
  EXPECT_EQ(DeleteAllFullWidthSpaces(Sj("あ　い　")), Sj("あい"));
  EXPECT_EQ(DeleteAllFullWidthSpaces("\x88\x81\x40"), "\x88\x81\x40");
  V in = {Sj("あ　い"), "\x88\x81\x40"};
  EXPECT_EQ(Strings(FullWidthSpacesToSpaces(Views(in))), (V{Sj("あ  い"), "\x88\x81\x40"}));
}

TEST(Tabs, DeleteLeadingOrAllOrReplace) {
  V in = {"\t\ta\tb", "x", "\t"};
  EXPECT_EQ(Strings(DeleteAllTabs(Views(in))), (V{"ab", "x", ""}));
  EXPECT_EQ(Strings(DeleteLeadingTabs(Views(in))), (V{"a\tb", "x", ""}));
  EXPECT_EQ(Strings(tabreplace(Views(in), ",")), (V{",,a,b", "x", ","}));
}

TEST(CaretLine, DuplicateAndDeleteByIndex) {
  V in = {"a", "b", "c"};
  EXPECT_EQ(Strings(DuplicateLine(Views(in), 1)), (V{"a", "b", "b", "c"}));
  EXPECT_EQ(Strings(DeleteLine(Views(in), 2)), (V{"a", "b"}));
  EXPECT_EQ(Strings(DuplicateLine(Views(in), 3)), in);
  EXPECT_EQ(Strings(DeleteLine(Views(in), 3)), in);
}

TEST(Deletions, EmptyRepeatedAndSameKeyLines) {
  V in = {"a", "", " ", "a", "a", "b", "a", ""};
  EXPECT_EQ(Strings(DeleteEmptyLines(Views(in))), (V{"a", " ", "a", "a", "b", "a"}));
  EXPECT_EQ(Strings(DeleteRepeatedLines(Views(in))), (V{"a", "", " ", "a", "b", "a", ""}));
  V abc = {"abc1", "abc2", "abd3"};
  EXPECT_EQ(Strings(DeleteSameKeyLines(Views(abc), 4)), (V{"abc1", "abd3"}));
  EXPECT_EQ(Strings(DeleteSameKeyLines(Views(abc), 1)), (V{"abc1"}));
  EXPECT_EQ(Strings(DeleteSameKeyLines(Views(abc), -7)), (V{"abc1"}));
  // Compared with the line before, kept or not; short lines compare whole.
  V chain = {"ab", "ab1", "ab2", "a"};
  EXPECT_EQ(Strings(DeleteSameKeyLines(Views(chain), 3)), (V{"ab", "a"}));
}

// The built lines keep one length byte for a short line and more for a long one; a line
// is found from the mark before it at any index, across marks and length sizes.
TEST(LineLists, BuiltLinesReadBackAtEveryIndex) {
  const std::size_t sizes[] = {0, 1, 127, 128, 300, 16383, 16384, 70000};
  V want;
  Lines built;
  for (int i = 0; i < 200; ++i) {
    std::string line(sizes[i * 7 % 8], static_cast<char>('a' + i % 26));
    if (i % 5 == 0) {  // a line made of parts
      built.Append(line.substr(0, line.size() / 2));
      built.Append(line.substr(line.size() / 2));
      built.EndLine();
    } else {
      built.Add(line);
    }
    want.push_back(line);
  }
  ASSERT_EQ(built.size(), want.size());
  for (std::size_t i = want.size(); i-- > 0;) EXPECT_EQ(built[i], want[i]) << i;
  EXPECT_EQ(Strings(built.Views()), want);
  std::string joined;
  for (const auto& l : want) joined += l + "\n";
  EXPECT_TRUE(built.Joined("\n") == joined);
}

// A text walked by its index gives the lines its split gives, at any index and in order.
TEST(LineLists, WalkedTextGivesTheSplitLines) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += std::string(i % 4, 'x') + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\r" : "\n");
  text += "last";
  const auto split = encoding::SplitLines(text);
  const LineIndex index(text);
  ASSERT_EQ(index.size(), split.size());
  for (std::size_t i = split.size(); i-- > 0;) EXPECT_EQ(index[i], split[i]) << i;
  V walked;
  for (std::string_view l : LineSpan(index)) walked.emplace_back(l);
  EXPECT_EQ(walked, Strings(split));
  EXPECT_EQ(LineIndex("").size(), 0u);
}

}  // namespace
}  // namespace haruvi::textcmd
