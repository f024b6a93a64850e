// Dictionary expansion, the compiled-pattern cache, literal detection and the bounds that
// keep compilation from exhausting memory or stack.
#include <gtest/gtest.h>

#include <chrono>

#include "regex/awk_str.h"
#include "regex/char_dict.h"
#include "regex/regex_error.h"
#include "support/sjis.h"

namespace haruvi::regex {
namespace {

using haruvi::test::S;

std::string Expanded(const std::string& pattern) {
  TREPreProcessor pre;
  pre.FuzzyCharDicList.push_back(CharEquivalenceDictionary());
  pre.UseFuzzyCharDic = true;
  pre.SetPattern(pattern);
  return pre.Expand();
}

TEST(FuzzyExpansion, RewritesOrdinaryCharactersOnly) {
  const std::pair<std::string, std::string> rows[] = {
      {"ABC", S("(Ａ|ａ|A|a)(Ｂ|ｂ|B|b)(Ｃ|ｃ|C|c)")},
      {"[ab]", "[ab]"},
      {"[^ab]", "[^ab]"},  // negated classes are kept as written too
      {"a.b", S("(Ａ|ａ|A|a).(Ｂ|ｂ|B|b)")},
      {"\\.", S("(｡|\\.|。|．)")},
      {S("は゛"), S("(ば|バ|ﾊﾞ|は゛|ハ゛|ヴァ|う゛ぁ|ウ゛ァ|ｳﾞｧ)")},
      {S("ー"), S("(ー|～|ｰ)")},
      {"-", S("(-|ー|－|～|ｰ)")},
      {"\\(", S("(\\(|（)")},
      {"a*", S("(Ａ|ａ|A|a)*")},
      {S("漢"), S("漢")},
      {"1", S("(1|１|一|①|Ⅰ|壱)")},
      {",", S("(,|､|、|，)")},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(Expanded(in), out) << in;
}

TEST(DictionaryExpansion, EachListExpandsOnlyWhileItsFlagIsOn) {
  const auto synonyms = std::make_shared<const TREDictionary>(std::vector<std::vector<std::string>>{{"cat", "dog"}});
  const auto fuzzy = std::make_shared<const TREDictionary>(std::vector<std::vector<std::string>>{{"a", "b"}});
  const struct {
    bool use_synonyms, use_fuzzy;
    std::string expanded;
  } rows[] = {
      {false, false, "cat"},
      {true, false, "(cat|dog)"},
      {false, true, "c(a|b)t"},
      {true, true, "(c(a|b)t|dog)"},  // synonyms first, then characters
  };
  for (const auto& r : rows) {
    TREPreProcessor pre;
    pre.SynonymDicList.push_back(synonyms);
    pre.FuzzyCharDicList.push_back(fuzzy);
    pre.UseSynonymDic = r.use_synonyms;
    pre.UseFuzzyCharDic = r.use_fuzzy;
    pre.SetPattern("cat");
    EXPECT_EQ(pre.Expand(), r.expanded) << r.use_synonyms << r.use_fuzzy;
  }
}

TEST(FuzzyExpansion, DictionaryHas145GroupsInOrder) {
  const auto& groups = CharEquivalenceDictionary()->Groups();
  ASSERT_EQ(groups.size(), 145u);
  EXPECT_EQ(groups[0], (std::vector<std::string>{S("Ａ"), S("ａ"), "A", "a"}));
  EXPECT_EQ(groups[36], (std::vector<std::string>{S("　"), " "}));
  EXPECT_EQ(groups[38], (std::vector<std::string>{"\"", S("”")}));
  EXPECT_EQ(groups[144], (std::vector<std::string>{S("ﾟ"), S("゜")}));
}

TEST(FuzzyExpansion, FlagRecompilesTheCurrentPattern) {
  TAWKStr awk;
  awk.SetRegExp("abc");
  EXPECT_EQ(awk.Match(S("ＡＢＣ")).position, 0u);
  awk.SetUseFuzzyCharDic(true);
  EXPECT_EQ(awk.RegExp(), "abc");
  EXPECT_EQ(awk.Match(S("xＡｂC")).position, 2u);
}

TEST(PatternCache, ReusesAndEvictsInOrderOfFirstCompilation) {
  TAWKStr awk;
  awk.SetRegExp("p0");
  awk.SetRegExp("p1");
  EXPECT_EQ(awk.CachedPatterns(), (std::vector<std::string>{"", "p1", "p0"}));
  awk.SetRegExp("p0");  // reuse does not move the entry
  EXPECT_EQ(awk.CurrentEntry(), 2u);
  EXPECT_EQ(awk.CachedPatterns(), (std::vector<std::string>{"", "p1", "p0"}));
  for (int i = 2; i < 30; ++i) awk.SetRegExp("p" + std::to_string(i));
  auto cached = awk.CachedPatterns();
  EXPECT_EQ(cached.size(), 30u);
  EXPECT_EQ(cached[1], "p29");
  EXPECT_EQ(std::find(cached.begin(), cached.end(), "p0"), cached.end());
  EXPECT_NE(std::find(cached.begin(), cached.end(), "p1"), cached.end());
}

TEST(PatternCache, AnErrorLeavesTheEmptyPatternCurrent) {
  TAWKStr awk;
  awk.SetRegExp("b");
  EXPECT_THROW(awk.SetRegExp("b("), ERegExpParser);
  EXPECT_EQ(awk.RegExp(), "");
  EXPECT_EQ(awk.CurrentEntry(), 0u);
  MatchPosition m = awk.Match("abc");
  EXPECT_EQ(m.position, 1u);
  EXPECT_EQ(m.length, 0u);
}

TEST(LiteralDetection, PlainCharactersOnly) {
  struct Row { std::string pattern; bool literal; std::string text; };
  const Row rows[] = {
      {"abc", true, "abc"},  {S("文字"), true, S("文字")}, {"a(b)c", true, "abc"},
      {"a|b", false, ""},    {"a*", false, ""},              {"[ab]", false, ""},
      {"", true, ""},        {"a[^\\x01-\\xfcfc]", false, ""},
  };
  for (const auto& r : rows) {
    TAWKStr awk;
    awk.SetRegExp(r.pattern);
    EXPECT_EQ(awk.IsLiteral(), r.literal) << r.pattern;
    if (r.literal) {
      EXPECT_EQ(awk.Literal(), r.text) << r.pattern;
    }
  }
}

TEST(CompileBounds, ExplodingPatternsAreRefusedAsTooComplex) {
  std::string p = "(a|b)*a";
  for (int i = 0; i < 24; ++i) p += "(a|b)";
  TAWKStr awk;
  try {
    awk.SetRegExp(p);
    FAIL() << "compiled";
  } catch (const ERegExpParser& e) {
    EXPECT_STREQ(e.what(), msg::kTooComplex);
    EXPECT_EQ(e.Position(), p.size() + 1);
  }
  EXPECT_EQ(awk.CurrentEntry(), 0u);
  // "+" copies its operand: nested repeats grow geometrically and are refused too.
  std::string nested = "a";
  for (int i = 0; i < 24; ++i) nested = "(" + nested + ")+";
  EXPECT_THROW(awk.SetRegExp(nested), ERegExpParser);
  // The automaton may have 10000 states and no more: a literal of n characters has n + 1.
  EXPECT_NO_THROW(awk.SetRegExp(std::string(9999, 'a')));
  try {
    awk.SetRegExp(std::string(10000, 'a'));
    ADD_FAILURE() << "10001 states compiled";
  } catch (const ERegExpParser& e) {
    EXPECT_STREQ(e.what(), msg::kTooComplex);
  }
  // Long flat patterns are fine (no recursion on the concatenation chain).
  std::string flat(5000, 'a');
  EXPECT_NO_THROW(awk.SetRegExp(flat));
  EXPECT_EQ(awk.Match("x" + flat).position, 2u);
}

}  // namespace
}  // namespace haruvi::regex
