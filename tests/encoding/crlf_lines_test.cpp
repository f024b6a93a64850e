// Loading a file for the code conversions: lines joined with CR LF, cut at NUL.
#include "encoding/crlf_lines.h"

#include <gtest/gtest.h>

namespace haruvi::encoding {
namespace {

TEST(JoinLinesWithCrLf, EndsEveryLineWithCrLf) {
  const struct {
    std::string in, out;
  } rows[] = {
      {"", ""},
      {"a", "a\r\n"},
      {"a\r\n", "a\r\n"},
      {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
      {"\r\n\r\n", "\r\n\r\n"},
      {"\n\r", "\r\n\r\n"},           // LF, then CR: two empty lines
      {"a\r\r\nb", "a\r\n\r\nb\r\n"},  // CR, then CR LF
      {std::string("ab\0cd\r\n", 7), "ab\r\n"},
      {std::string("\0x", 2), ""},
  };
  for (const auto& row : rows) EXPECT_EQ(JoinLinesWithCrLf(row.in), row.out) << testing::PrintToString(row.in);
}

TEST(JoinLinesWithCrLf, KnowsWhenNothingWouldChange) {
  std::string long_lines;
  for (int k = 0; k < 100; ++k) long_lines += "line of some length " + std::to_string(k) + "\r\n";
  EXPECT_TRUE(IsJoinedWithCrLf(""));
  EXPECT_TRUE(IsJoinedWithCrLf("a\r\n"));
  EXPECT_TRUE(IsJoinedWithCrLf(long_lines));
  EXPECT_FALSE(IsJoinedWithCrLf(long_lines + "x"));
  EXPECT_FALSE(IsJoinedWithCrLf("\n" + long_lines));
  for (size_t at : {size_t{0}, size_t{17}, size_t{100}, long_lines.size() - 3}) {
    for (char bad : {'\n', '\r', '\0'}) {
      std::string text = long_lines;
      text[at] = bad;
      EXPECT_EQ(IsJoinedWithCrLf(text), JoinLinesWithCrLf(text) == text) << at << " " << int(bad);
    }
  }
}

}  // namespace
}  // namespace haruvi::encoding
