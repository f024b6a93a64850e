// GSub of a text read in pieces against GSub of the whole text: patterns that stay in a
// line, patterns that take line ends, anchors and empty matches, through windows that grow
// a few bytes at a time so cuts fall everywhere, double-byte characters included.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "encoding/piece_io.h"
#include "regex/awk_str.h"

namespace haruvi::regex {
namespace {

std::string RandomText(std::mt19937& rng, std::size_t size) {
  static const char* const kParts[] = {"a", "b", "ab", "x", "7", "42", " ", "\r\n", "\n", "\r", "\x95\x5C" /* 表 */,
                                       "\x88\x9F", "\x82\xA0", "\x88\n", "\x88" /* a lead byte alone */, "\t"};
  std::string s;
  while (s.size() < size) s += kParts[rng() % std::size(kParts)];
  return s;
}

struct Result {
  std::string text;
  int count;
};

Result InPieces(const TAWKStr& awk, std::string_view templ, std::string_view text, std::mt19937& rng,
                std::size_t step) {
  TAWKStr::PieceState state;
  std::string out;
  std::size_t taken = 0, held = 0;
  for (;;) {
    held = std::min(text.size(), held + 1 + rng() % step);
    const bool last = held == text.size();
    taken += awk.GSubPiece(templ, text.substr(taken, held - taken), last, out, state);
    if (last) return {out, state.count};
  }
}

TEST(GSubPieces, JoinUpToTheWholeTextsGSub) {
  const char* const patterns[] = {"a",    "ab",     "[0-9]+", "^",      "$",     "x*",  "\\r\\n", "\\n",
                                  "表",   "a.*b",   "^a",     "b$",     ".",     "[^a]+", "(ab|7)*$", "^$",
                                  "a|\\r", "[ \\t]+$", "^[^x]*", "..",  "a?b?"};
  std::mt19937 rng(21);
  for (const char* pattern : patterns) {
    TAWKStr awk;
    awk.LineSeparator = mcls_CRLF;
    awk.SetRegExp(pattern);
    for (int round = 0; round < 6; ++round) {
      const std::string text = RandomText(rng, 1 + rng() % 2500);
      std::string whole = text;
      const int count = awk.GSub("<&>", whole);
      for (std::size_t step : {1u, 9u, 300u}) {
        const Result r = InPieces(awk, "<&>", text, rng, step);
        ASSERT_TRUE(r.text == whole) << pattern << " round " << round << " step " << step;
        ASSERT_EQ(r.count, count) << pattern;
      }
    }
  }
}

TEST(GSubPieces, TheEmptyTextFollowsGSub) {
  TAWKStr awk;
  awk.SetRegExp("x*");
  TAWKStr::PieceState state;
  std::string out;
  awk.GSubPiece("-", "", true, out, state);
  EXPECT_EQ(out, "-");
  EXPECT_EQ(state.count, 1);
}

TEST(GSubPieces, AWindowIsCutInsideALineOnlyForPatternsOfBoundedLength) {
  const std::string line(100000, 'a');
  TAWKStr literal;
  literal.SetRegExp("aa");
  TAWKStr::PieceState bounded;
  std::string out;
  EXPECT_GT(literal.GSubPiece("b", line, false, out, bounded), 90000u);  // goes on within the line
  TAWKStr loop;
  loop.SetRegExp("a+b");
  TAWKStr::PieceState unbounded;
  EXPECT_EQ(loop.GSubPiece("b", line, false, out, unbounded), 0u);  // waits for the line's end
  EXPECT_EQ(loop.GSubPiece("b", line + "\r\nab", false, out, unbounded), line.size() + 2);
}

TEST(GSubPieces, ALineLongerThanTheLimitIsRefused) {
  TAWKStr awk;
  awk.SetRegExp("a+b");
  TAWKStr::PieceState state;
  std::string out;
  const std::string line(encoding::kMaxHeldBytes + 1, 'a');
  EXPECT_THROW(awk.GSubPiece("", line, false, out, state), encoding::PieceLimitError);
}

}  // namespace
}  // namespace haruvi::regex
