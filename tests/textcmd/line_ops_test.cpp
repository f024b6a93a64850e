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

}  // namespace
}  // namespace haruvi::textcmd
