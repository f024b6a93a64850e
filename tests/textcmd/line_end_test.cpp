// Line ends: detection, conversion and removal.
#include <gtest/gtest.h>

#include "textcmd/line_end.h"

namespace haruvi::textcmd {
namespace {

TEST(DetectLineEnd, FirstLineEndDecides) {
  struct Row {
    std::string text;
    TLineEnd kind;
  } rows[] = {{"", kLineEndNone},          {"abc", kLineEndNone},     {"a\r", kLineEndCr},
              {"a\r\nb", kLineEndCrLf},    {"a\nb\r\n", kLineEndLf},  {"a\rb\r\n", kLineEndCr}};
  for (const auto& r : rows) EXPECT_EQ(DetectLineEnd(r.text), r.kind) << r.text;
}

TEST(ConvertLineEnd, ReplacesWholeSequences) {
  struct Row {
    std::string text;
    TLineEnd from, to;
    std::string out;
  } rows[] = {
      {"a\r\nb\r\n", kLineEndCrLf, kLineEndLf, "a\nb\n"},
      {"a\nb\n", kLineEndLf, kLineEndCrLf, "a\r\nb\r\n"},
      {"a\r\nb", kLineEndCr, kLineEndCrLf, "a\r\n\nb"},
      {"a\r\nb", kLineEndLf, kLineEndCr, "a\r\rb"},
      {"a\rb", kLineEndNone, kLineEndLf, "a\rb"},
      {"a\rb", kLineEndCr, kLineEndCr, "a\rb"},
      {"a\rb", kLineEndCr, kLineEndNone, "ab"},
      // A lone CR is not a CR LF: the byte after it stays.
      {"a\rb\r\n", kLineEndCrLf, kLineEndLf, "a\rb\n"},
      {"a\r", kLineEndCrLf, kLineEndLf, "a\r"},
  };
  for (const auto& r : rows) EXPECT_EQ(ConvertLineEnd(r.text, r.from, r.to), r.out) << r.text;
}

TEST(RemoveLineEnds, WholeTextOrInsideTheRangeOnly) {
  EXPECT_EQ(RemoveLineEnds("a\r\nb\r\nc\r\n"), "abc");
  EXPECT_EQ(RemoveLineEnds("a\r\nb\r\nc\r\n", 3, 3), "a\r\nbc\r\n");
  // A pair cut by the range edge stays.
  EXPECT_EQ(RemoveLineEnds("a\r\nb\r\nc", 2, 4), "a\r\nbc");
  EXPECT_EQ(RemoveLineEnds("a\r\nb", 99, 5), "a\r\nb");
  EXPECT_EQ(RemoveLineEnds("a\r\nb", 0, SIZE_MAX), "ab");
}

}  // namespace
}  // namespace haruvi::textcmd
