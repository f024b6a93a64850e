// The one line rule: which bytes end a line, what a line end at the end of the text or a
// NUL does, and the cursor agreeing with a plain byte-by-byte split from any line start,
// on short random texts and on long lines that outgrow its look-ahead.
#include "encoding/line_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace haruvi::encoding {
namespace {

struct RefLine {
  std::size_t start, end, next;
  friend bool operator==(const RefLine&, const RefLine&) = default;
};

// The rule written out byte by byte.
std::vector<RefLine> ReferenceSplit(std::string_view t) {
  std::vector<RefLine> out;
  std::size_t at = 0;
  while (at < t.size()) {
    std::size_t end = at;
    while (end < t.size() && t[end] != '\r' && t[end] != '\n') ++end;
    std::size_t next = end;
    if (end < t.size()) next = t[end] == '\r' && end + 1 < t.size() && t[end + 1] == '\n' ? end + 2 : end + 1;
    out.push_back({at, end, next});
    at = next;
  }
  return out;
}

std::vector<RefLine> CursorSplit(std::string_view t, std::size_t from = 0) {
  std::vector<RefLine> out;
  for (LineCursor c(t, from); !c.AtEnd(); c.Advance()) {
    EXPECT_EQ(c.Line(), t.substr(c.Start(), c.End() - c.Start()));
    EXPECT_EQ(c.EndLength(), c.Next() - c.End());
    out.push_back({c.Start(), c.End(), c.Next()});
  }
  return out;
}

std::vector<std::string> Strings(const std::vector<std::string_view>& views) {
  return std::vector<std::string>(views.begin(), views.end());
}

TEST(LineScan, EndsAtCrLfLoneCrAndLoneLfWithNoLineAfterAFinalEnd) {
  using V = std::vector<std::string>;
  const struct {
    std::string text;
    V lines;
    std::vector<std::size_t> end_lengths;
  } rows[] = {
      {"", {}, {}},
      {"a", {"a"}, {0}},
      {"a\r", {"a"}, {1}},
      {"a\n", {"a"}, {1}},
      {"a\r\n", {"a"}, {2}},
      {"\r", {""}, {1}},
      {"\r\n", {""}, {2}},
      {"\n\r", {"", ""}, {1, 1}},        // LF then CR: two line ends, not one
      {"a\r\rb", {"a", "", "b"}, {1, 1, 0}},
      {"a\r\r\nb", {"a", "", "b"}, {1, 2, 0}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}, {1, 1, 2, 0}},
      {"a\r\n\r\n", {"a", ""}, {2, 2}},
      {std::string("x\0y\r\0", 5), {std::string("x\0y", 3), std::string("\0", 1)}, {1, 0}},  // NUL is a byte
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Strings(SplitLines(r.text)), r.lines) << testing::PrintToString(r.text);
    std::vector<std::size_t> lengths;
    for (LineCursor c(r.text); !c.AtEnd(); c.Advance()) lengths.push_back(c.EndLength());
    EXPECT_EQ(lengths, r.end_lengths) << testing::PrintToString(r.text);
    V ranged;
    for (std::string_view line : LinesOf(r.text)) ranged.emplace_back(line);
    EXPECT_EQ(ranged, r.lines);
  }
}

TEST(LineScan, ACrThatEndsTheTextIsAWholeLineEndEvenWhenAnLfFollowsOutside) {
  // A piece cut between CR and LF: the cursor never reads past its text, so the CR is
  // a lone line end there; the reader of pieces pairs it with the next piece's LF.
  const std::string whole = "ab\r\ncd";
  LineCursor c(std::string_view(whole).substr(0, 3));
  EXPECT_EQ(c.Line(), "ab");
  EXPECT_EQ(c.EndLength(), 1u);
  c.Advance();
  EXPECT_TRUE(c.AtEnd());
  EXPECT_EQ(c.Start(), 3u);
}

TEST(LineScan, UpToFirstNulCutsOnlyWhereANulIs) {
  EXPECT_EQ(UpToFirstNul(""), "");
  EXPECT_EQ(UpToFirstNul("ab\r\n"), "ab\r\n");
  EXPECT_EQ(UpToFirstNul(std::string_view("ab\0c\0", 5)), "ab");
  EXPECT_EQ(UpToFirstNul(std::string_view("\0a", 2)), "");
}

std::string RandomText(std::mt19937& rng, std::size_t size, const std::string& alphabet) {
  std::string t(size, 'a');
  for (char& c : t) c = alphabet[rng() % alphabet.size()];
  return t;
}

TEST(LineScan, AgreesWithAByteByByteSplitOnRandomTextsFromEveryLineStart) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    const std::string t = RandomText(rng, rng() % 40, std::string("\r\na\0", 4));
    const std::vector<RefLine> ref = ReferenceSplit(t);
    ASSERT_EQ(CursorSplit(t), ref) << testing::PrintToString(t);
    for (std::size_t k = 0; k < ref.size(); ++k)
      ASSERT_EQ(CursorSplit(t, ref[k].start), std::vector<RefLine>(ref.begin() + static_cast<long>(k), ref.end()))
          << testing::PrintToString(t) << " from " << ref[k].start;
  }
}

TEST(LineScan, AgreesOnLongLinesThatOutgrowTheLookAhead) {
  // Lines of up to a few hundred kilobytes with one kind of end, then the other, then
  // mixed: the kind a stretch lacks is searched ahead in growing windows.
  std::mt19937 rng(11);
  std::string t;
  for (int i = 0; i < 60; ++i) {
    t.append(rng() % 3 == 0 ? rng() % 300000 : rng() % 700, 'x');
    const char* ends[] = {"\r", "\n", "\r\n"};
    t += ends[i < 20 ? 0 : i < 40 ? 1 : rng() % 3];
    if (i % 9 == 0) t += std::string(rng() % 5, '\r');
  }
  t.append(100000, 'y');  // a last line without an end
  const std::vector<RefLine> ref = ReferenceSplit(t);
  EXPECT_EQ(CursorSplit(t), ref);
  for (std::size_t k = 0; k < ref.size(); k += 7)
    EXPECT_EQ(CursorSplit(t, ref[k].start).size(), ref.size() - k);
}

TEST(LineScan, TextsOfManyLinesWithOneKindOfEndSplitWhole) {
  // A million lines of lone CRs, then of lone LFs: a walk that searched the rest of the
  // text for the missing kind on every line would not finish.
  for (const char* end : {"\r", "\n"}) {
    std::string t;
    for (int i = 0; i < 1'000'000; ++i) t.append("line").append(end);
    const std::vector<std::string_view> lines = SplitLines(t);
    ASSERT_EQ(lines.size(), 1'000'000u);
    EXPECT_EQ(lines.back(), "line");
  }
}

}  // namespace
}  // namespace haruvi::encoding
