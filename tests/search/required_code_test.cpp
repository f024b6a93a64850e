// The characters every match needs, and the prefilter built on them: which characters
// are found (and which may not be looked for), and lines decided on candidates alone
// agree with the automaton run on every line, however the file is cut into blocks.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../regex/test_seed.h"
#include "search/grep.h"
#include "search/required_code.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;
using Strings = std::vector<std::string>;

Strings Required(const std::string& pattern, bool fuzzy = false) {
  TGrep g;
  g.SetUseFuzzyCharDic(fuzzy);
  g.SetRegExp(pattern);
  return RequiredCharacters(g.CurrentDFA());
}

TEST(RequiredCharacters, AreThoseNoMatchCanDoWithout) {
  EXPECT_EQ(Required(S("[0-9]+年[0-9]+月")), (Strings{S("月"), S("年")}));  // in code order
  EXPECT_EQ(Required("ab*c"), (Strings{"a", "c"}));
  EXPECT_EQ(Required("(ab|cb)x"), (Strings{"b", "x"}));
  EXPECT_EQ(Required("a|b"), Strings{});
  EXPECT_EQ(Required("x[ab]"), Strings{"x"});  // a class is no one character
  EXPECT_EQ(Required("a?"), Strings{});        // the empty match needs nothing
  EXPECT_EQ(Required("^z"), Strings{"z"});      // the line head is a line feed: not looked for
}

TEST(RequiredCharacters, LeaveOutWhatAZeroByteOrALineEndAlsoReads) {
  EXPECT_EQ(Required("a b"), (Strings{"a", "b"}));  // a zero byte reads as the space
  EXPECT_EQ(Required("a\\n"), Strings{"a"});
  // With the dictionary a character matches its variants: it is required no more.
  EXPECT_EQ(Required("A1", true), Strings{});
}

// Lines with the required characters in every position that can fool a byte search: on
// a trail byte, across block edges, before a lone lead byte at the line end, with zero
// bytes, at the very end of the file.
TEST(Prefilter, DecidesLinesAsTheAutomatonOnEveryLine) {
  std::mt19937 rng(test::Seed(41));
  test::TempDir dir;
  static const char* pieces[] = {"1", "23", "\x94\x4E", "\x8C\x8E", "\x83", "\x83\x94", "a", "\r\n", "\n", "\r", " ",
                                 "<zero byte>", "\x81", "N"};
  const char* patterns[] = {"[0-9]+\x94\x4E[0-9]+\x8C\x8E", "N[0-9]", "\x94\x4E$", "^\x8C\x8E", "a+ *\x94\x4E", "1.N"};
  std::size_t matched = 0;
  for (int round = 0; round < 120; ++round) {
    std::string text;
    const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 400)(rng);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t k = std::uniform_int_distribution<std::size_t>(0, std::size(pieces) - 1)(rng);
      if (k == 11) text.push_back('\0');
      else text += pieces[k];
    }
    const auto file = dir.Write("t.txt", text);
    const std::string pattern = patterns[round % std::size(patterns)];
    TGrep g;
    g.SetRegExp(pattern);
    ASSERT_EQ(g.CurrentScanner(), TGrep::Scanner::LineAutomaton) << pattern;
    auto run = [&](bool prefilter, std::size_t block, std::uint64_t map_from) {
      g.SetUsePrefilter(prefilter);
      g.SetBlockSize(block);
      g.SetMapFrom(map_from);
      std::vector<std::pair<std::int64_t, std::string>> out;
      g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { out.emplace_back(li.LineNo, li.Line); };
      g.GrepFile(file);
      return out;
    };
    const auto want = run(false, TTxtFile::kBlockSize, TTxtFile::kMapFrom);
    matched += want.size();
    for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{5}, TTxtFile::kBlockSize})
      for (std::uint64_t map_from : {std::uint64_t{1}, TTxtFile::kMapFrom})
        ASSERT_EQ(run(true, block, map_from), want) << "pattern " << round % std::size(patterns) << " block " << block;
  }
  EXPECT_GT(matched, 100u);
}

}  // namespace
}  // namespace haruvi::search
