// The pane's line model: line ends of every kind, the CR LF view and byte offsets.
#include <gtest/gtest.h>

#include "viewer/text_document.h"

namespace haruvi::viewer {
namespace {

std::vector<std::string> LinesOf(const TextDocument& d) {
  std::vector<std::string> out;
  for (size_t i = 0; i < d.LineCount(); ++i) out.emplace_back(d.Line(i));
  return out;
}

TEST(TextDocument, LineEndsOfEveryKind) {
  struct Row { const char* text; std::vector<std::string> lines; const char* crlf; } rows[] = {
      {"", {}, ""},
      {"a", {"a"}, "a"},
      {"a\r\n", {"a"}, "a\r\n"},
      {"a\r\nb", {"a", "b"}, "a\r\nb"},
      {"a\nb\n", {"a", "b"}, "a\r\nb\r\n"},
      {"a\rb\r", {"a", "b"}, "a\r\nb\r\n"},
      {"a\n\r\nb", {"a", "", "b"}, "a\r\n\r\nb"},
      {"\n\n", {"", ""}, "\r\n\r\n"},
      {"a\r\rb", {"a", "", "b"}, "a\r\n\r\nb"},
      {"x\0y\r\n", {std::string("x\0y", 3)}, nullptr},
  };
  for (const Row& r : rows) {
    TextDocument d;
    std::string text = r.crlf ? std::string(r.text) : std::string("x\0y\r\n", 5);
    d.SetBytes(text);
    EXPECT_EQ(LinesOf(d), r.lines) << r.text;
    EXPECT_EQ(d.Bytes(), text);  // handed back exactly as given
    if (r.crlf) {
      EXPECT_EQ(d.TextCrLf(), r.crlf) << r.text;
      EXPECT_EQ(d.TextCrLfLength(), std::string(r.crlf).size());
    }
  }
}

TEST(TextDocument, OffsetsAreIntoTheCrLfText) {
  TextDocument d;
  d.SetBytes("ab\ncd\r\ne\n");
  EXPECT_EQ(d.TextCrLf(), "ab\r\ncd\r\ne\r\n");
  EXPECT_EQ(d.LineStart(0), 0u);
  EXPECT_EQ(d.LineStart(1), 4u);
  EXPECT_EQ(d.LineStart(2), 8u);
  EXPECT_EQ(d.LineStart(3), 11u);  // past the last line: the end
  EXPECT_EQ(d.LineOfOffset(0), 0u);
  EXPECT_EQ(d.LineOfOffset(3), 0u);
  EXPECT_EQ(d.LineOfOffset(4), 1u);
  EXPECT_EQ(d.LineOfOffset(100), 2u);
  EXPECT_EQ(d.SliceCrLf(1, 5), "b\r\ncd");
  EXPECT_EQ(d.SliceCrLf(8, 100), "e\r\n");
  EXPECT_EQ(d.MaxLineLength(), 2u);
}

TEST(TextDocument, SliceMatchesTheWholeTextEverywhere) {
  TextDocument d;
  d.SetBytes("one\rtwo\n\nthree\r\nfour");
  const std::string all = d.TextCrLf();
  for (size_t a = 0; a <= all.size(); ++a)
    for (size_t n = 0; a + n <= all.size() + 2; ++n)
      ASSERT_EQ(d.SliceCrLf(a, n), all.substr(a, n)) << a << "+" << n;
}

TEST(TextDocument, AHundredMegabyteLineIsOneLine) {
  TextDocument d;
  d.SetBytes(std::string(100u << 20, 'x'));
  EXPECT_EQ(d.LineCount(), 1u);
  EXPECT_EQ(d.MaxLineLength(), 100u << 20);
}

}  // namespace
}  // namespace haruvi::viewer

namespace haruvi::viewer {
namespace {

// Many lines of mixed ends, against a straightforward split: every line, offset and
// slice agrees however the lines are visited (forwards, backwards, at random).
TEST(TextDocument, ManyLinesAgreeWithASimpleSplitInAnyOrder) {
  std::string text;
  std::vector<std::string> lines;
  std::vector<std::size_t> starts;
  std::size_t crlf = 0;
  const char* ends[] = {"\r\n", "\n", "\r"};
  for (int i = 0; i < 1000; ++i) {
    std::string line(static_cast<std::size_t>(i % 7 * 3), static_cast<char>('a' + i % 26));
    starts.push_back(crlf);
    lines.push_back(line);
    text += line + ends[i % 3];
    crlf += line.size() + 2;
  }
  TextDocument d;
  d.SetBytes(text);
  ASSERT_EQ(d.LineCount(), 1000u);
  EXPECT_EQ(d.TextCrLfLength(), crlf);
  for (std::size_t i : {999u, 0u, 500u, 63u, 64u, 65u, 128u, 127u, 998u, 1u}) {
    EXPECT_EQ(d.Line(i), lines[i]) << i;
    EXPECT_EQ(d.LineStart(i), starts[i]) << i;
    EXPECT_EQ(d.LineOfOffset(starts[i]), i) << i;
    EXPECT_EQ(d.LineOfOffset(starts[i] + lines[i].size() + 1), i) << i;  // inside its CR LF
  }
  for (std::size_t i = 1000; i-- > 0;) ASSERT_EQ(d.Line(i), lines[i]) << i;
  const std::string all = d.TextCrLf();
  EXPECT_EQ(all.size(), crlf);
  EXPECT_EQ(d.SliceCrLf(starts[70], 40), all.substr(starts[70], 40));
}

TEST(TextDocument, ATextOfLoneCrsIsIndexedAndReadInOneWalk) {
  // A million lines ended by CR alone and no LF anywhere: indexing, reading a line from
  // its mark and slicing near the end each stay a walk over the lines they pass.
  std::string text;
  for (int i = 0; i < 1'000'000; ++i) text.append(i % 1000 == 999 ? "last" : "abc").append("\r");
  TextDocument d;
  d.SetBytes(text);
  ASSERT_EQ(d.LineCount(), 1'000'000u);
  EXPECT_EQ(d.TextCrLfLength(), text.size() + 1'000'000u);
  EXPECT_EQ(d.Line(999'999), "last");
  EXPECT_EQ(d.Line(123'456), "abc");
  EXPECT_EQ(d.LineOfOffset(d.LineStart(777'777) + 4), 777'777u);
  EXPECT_EQ(d.SliceCrLf(d.TextCrLfLength() - 9, 100), "c\r\nlast\r\n");
}

TEST(TextDocument, TheIndexCostsLittleWhateverTheNumberOfLines) {
  // Two million empty lines: the old index took 16 bytes a line; the marks take 1/4.
  TextDocument d;
  d.SetBytes(std::string(2'000'000, '\n'));
  EXPECT_EQ(d.LineCount(), 2'000'000u);
  EXPECT_EQ(d.LineStart(1'999'999), 2u * 1'999'999);
  EXPECT_EQ(d.LineOfOffset(2u * 1'234'567 + 1), 1'234'567u);
  EXPECT_EQ(d.Line(1'999'999), "");
}

}  // namespace
}  // namespace haruvi::viewer
