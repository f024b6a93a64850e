// The parser as table rows: a pattern and the tree it builds (leaves as hex ranges), or
// the error message and position it raises.
#include <gtest/gtest.h>

#include "regex/parser.h"
#include "regex/regex_error.h"
#include "regex/scanner.h"
#include "support/sjis.h"

namespace haruvi::regex {
namespace {

using haruvi::test::S;

std::string Parse(const std::string& pattern) {
  try {
    TREParser p(pattern);
    p.Run();
    return p.Tree().Dump();
  } catch (const ERegExpParser& e) {
    return std::string("error ") + std::to_string(e.Position()) + " " + e.what();
  }
}

struct TreeRow {
  std::string pattern;
  std::string tree;
};

TEST(ParserTree, BuildsTheTreeOfEachConstruct) {
  const TreeRow rows[] = {
      {"", "()"},
      {"()", "()"},
      {"a|", "or([61],())"},
      {"ab", "cat([61],[62])"},
      {"a|b|c", "or(or([61],[62]),[63])"},
      {"a*", "star([61])"},
      {"a+", "cat([61],star([61]))"},
      {"a?", "or([61],())"},
      {"a^b", "cat(cat([61],^),[62])"},
      {"[ab]", "or([61],[62])"},
      {"[a-]", "or([61],[2D])"},
      // A range may hold one character: both ends equal.
      {"[a-a]", "[61]"},
      {"[a-b]", "[61-62]"},
      {"[\\x41-\\x41]", "[41]"},
      {"[\\x00-\\x00]", "[0]"},
      {"[\\]a]", "or([5D],[61])"},
      {"[a^]", "or([61],[5E])"},
      {".", "or(or([1-9],[B-C]),[E-FCFC])"},
      {"\\x41", "[41]"},
      {"\\x00412", "cat([41],[32])"},
      {"\\101", "[41]"},
      {"\\8", "[38]"},
      {"\\n\\r\\t\\b", "cat(cat(cat([A],[D]),[9]),[8])"},
      {"{}", "cat([7B],[7D])"},
      {"[^\\x01-\\x09]", "or([B-C],[E-FCFC])"},
      {"[^\\x0b\\x0c]", "or([1-9],[E-FCFC])"},
      // What a negated class leaves may be a single code on either side of it (the cut
      // pieces follow the untouched ones).
      {"[^\\x01-\\x08]", "or(or([B-C],[E-FCFC]),[9])"},
      {"[^\\x02-\\x09]", "or(or([B-C],[E-FCFC]),[1])"},
      {"[^\\x0b]", "or(or([1-9],[E-FCFC]),[C])"},
      {"[^\\x0c]", "or(or([1-9],[E-FCFC]),[B])"},
      {"[^\\x0e-\\xfcfb]", "or(or([1-9],[B-C]),[FCFC])"},
      {"[^\\x01-\\xfcfc]", "[0]"},
      // Overlapping leaves are split so that every label is disjoint.
      {"[a-c]b", "cat(or(or([61],[62]),[63]),[62])"},
      {"[a-z][m-q]", "cat(or(or([61-6C],[6D-71]),[72-7A]),[6D-71])"},
  };
  for (const auto& r : rows) EXPECT_EQ(Parse(r.pattern), r.tree) << r.pattern;
}

TEST(ParserTree, DoubleByteCharactersAreOneCode) {
  EXPECT_EQ(Parse(S("あ+")), "cat([82A0],star([82A0]))");
  EXPECT_EQ(Parse(S("[あ-ん]")), "[82A0-82F1]");
  EXPECT_EQ(Parse(S("[あ-あ]")), "[82A0]");
  EXPECT_EQ(Parse(S("[い-あ]")), std::string("error 7 ") + msg::kBadRange);
  // The trail byte 5C of 表 is not an escape.
  EXPECT_EQ(Parse(S("表a")), "cat([955C],[61])");
  EXPECT_EQ(Parse(S("\\表")), "[955C]");
}

struct ErrorRow {
  std::string pattern;
  std::string message;
  int position;
};

TEST(ParserErrors, EveryErrorHasItsMessageAndPosition) {
  const ErrorRow rows[] = {
      {"a**", msg::kNeedPrimary, 4},
      {"*a", msg::kNeedPrimary, 2},
      {"a+?", msg::kNeedPrimary, 4},
      {"a|]", msg::kNeedPrimary, 4},
      {"a)", msg::kExtraChars, 3},
      {"(a", msg::kNeedRightParen, 3},
      {"((a)", msg::kNeedRightParen, 5},
      {"[]a]", msg::kBadClass, 3},
      {"[^]", msg::kBadClass, 4},
      {"[", msg::kNeedRightBracket, 2},
      {"[a", msg::kNeedRightBracket, 3},
      {"[ab", msg::kNeedRightBracket, 4},
      {"[a-", msg::kNeedRightBracket, 4},
      {"[z-a]", msg::kBadRange, 5},
      {"[b-a]", msg::kBadRange, 5},
      {"[\\x42-\\x41]", msg::kBadRange, 11},
      {"a\\", msg::kBackslashAtEnd, 3},
      {"\\xg", msg::kBadHex, 4},
      {"\\x", msg::kBadHex, 3},
      {"\\777777", msg::kBadOctal, 8},
      {"a\x82", msg::kBadDoubleByte, 3},
      {"\\\x82", msg::kBadDoubleByte, 3},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Parse(r.pattern), "error " + std::to_string(r.position) + " " + r.message) << r.pattern;
  }
}

TEST(ParserErrors, DeepNestingIsRefusedNotOverflowed) {
  std::string deep(100000, '(');
  EXPECT_EQ(Parse(deep).rfind(std::string("error ") + std::to_string(TREParser::kMaxNesting + 2), 0), 0u)
      << Parse(deep).substr(0, 40);
  std::string ok = std::string(100, '(') + "a" + std::string(100, ')');
  EXPECT_EQ(Parse(ok), "[61]");
}

TEST(Scanner, TokensCarryKindsCodesAndPositions) {
  TREScanner sc("a[^b-c]\\x41");
  std::vector<std::tuple<int, int, int, int, int>> got;
  for (Token t = sc.NextToken();; t = sc.NextToken()) {
    got.emplace_back(t.kind, t.code, t.code2, static_cast<int>(t.start), static_cast<int>(t.next));
    if (t.kind == tkEnd) break;
  }
  std::vector<std::tuple<int, int, int, int, int>> want = {
      {tkChar, 'a', 0, 1, 2},       {tkNegClassOpen, '[', 0, 2, 4}, {tkRange, 'b', 'c', 4, 7},
      {tkClassClose, 0, 0, 7, 8},   {tkChar, 0x41, 0, 8, 12},       {tkEnd, 0, 0, 12, 12}};
  EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace haruvi::regex
