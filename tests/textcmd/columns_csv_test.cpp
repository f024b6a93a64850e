// Column commands and CSV records, with two-byte characters at every boundary.
#include <gtest/gtest.h>

#include "textcmd/answers.h"
#include "textcmd/columns.h"
#include "textcmd/csv.h"
#include "textcmd/sjis.h"
#include "sjis_text.h"

namespace haruvi::textcmd {
namespace {

using namespace test;  // Sj, Views, Strings, V

// True when no line starts inside a two-byte character of the source and none ends
// with half of one: the pieces put back together read as whole characters.
bool NoCharacterCut(const std::vector<std::string>& lines) {
  for (const auto& l : lines)
    if (!l.empty() && ByteKindAt(l, l.size() - 1) == ByteKind::kLead) return false;
  return true;
}

V Break(V in, std::size_t b, std::string_view text = {}) {
  return Strings(BreakAtColumn(Views(in), b, text));
}

TEST(BreakAtColumn, CutsAtTheColumnButNeverInsideACharacter) {
  EXPECT_EQ(Break({"abcdefgh", "abcd"}, 4), (V{"abcd", "efgh", "abcd"}));
  EXPECT_EQ(Break({Sj("aあ")}, 2), (V{"a", Sj("あ")}));
  EXPECT_EQ(Break({Sj("あいう")}, 3), (V{Sj("あ"), Sj("い"), Sj("う")}));
  EXPECT_EQ(Break({""}, 3), (V{""}));
  EXPECT_EQ(Break({"abcdef"}, 2, "X"), (V{"abX", "cdX", "ef"}));
}

TEST(BreakAtColumn, ColumnOneBeforeATwoByteCharacterTakesItWhole) {
  EXPECT_EQ(Break({Sj("あb")}, 1), (V{Sj("あ"), "b"}));
  EXPECT_EQ(Break({Sj("aあ")}, 1), (V{"a", Sj("あ")}));
  EXPECT_EQ(Break({"ab"}, 0), (V{"a", "b"}));
}

TEST(BreakAtColumn, TrailBytesInTheLeadRangeAreNotLeadBytes) {
  // 亜 is 0x88 0x9F: its second byte lies in the lead range.
  auto out = Break({Sj("亜亜亜")}, 3);
  EXPECT_EQ(out, (V{Sj("亜"), Sj("亜"), Sj("亜")}));
  for (std::size_t b = 1; b <= 7; ++b) {
    auto pieces = Break({Sj("a亜あ亜bいう")}, b);
    EXPECT_TRUE(NoCharacterCut(pieces)) << b;
    std::string joined;
    for (auto& p : pieces) joined += p;
    EXPECT_EQ(joined, Sj("a亜あ亜bいう")) << b;
  }
}

TEST(InsertAtColumn, BeforeTheColumnOrBeforeItsCharacter) {
  V in = {"abcdef", "ab", Sj("aあい")};
  EXPECT_EQ(Strings(InsertAtColumn(Views(in), 3, "X")), (V{"abXcdef", "ab", Sj("aXあい")}));
  EXPECT_EQ(Strings(InsertAtColumn(Views(in), 1, "X")), (V{"Xabcdef", "Xab", Sj("Xaあい")}));
}

TEST(Columns, DeleteWidensAndExtractNarrowsToWholeCharacters) {
  const std::string line = Sj("aあbいc");  // bytes: a [2 3] b [5 6] c
  struct Row {
    std::size_t start, count;
    std::string deleted, extracted;
  } rows[] = {
      {1, 1, Sj("あbいc"), "a"},
      {2, 1, Sj("abいc"), ""},       // the first half of あ
      {3, 1, Sj("abいc"), ""},       // the second half of あ
      {2, 2, Sj("abいc"), Sj("あ")},
      {3, 3, Sj("ac"), "b"},         // from the second half of あ to the first half of い
      {1, 99, "", line},
      {8, 2, line, ""},
      {99, 1, line, ""},
      {2, 0, line, ""},
  };
  V in = {line};
  for (const auto& r : rows) {
    EXPECT_EQ(Strings(DeleteColumns(Views(in), r.start, r.count))[0], r.deleted) << r.start << "," << r.count;
    EXPECT_EQ(Strings(ExtractColumns(Views(in), r.start, r.count))[0], r.extracted) << r.start << "," << r.count;
  }
}

TEST(Columns, NoStartAndCountCutsACharacter) {
  V in = {Sj("亜a亜亜bあ"), Sj("ああ"), "plain"};
  for (std::size_t s = 1; s <= 11; ++s)
    for (std::size_t n = 0; n <= 11; ++n) {
      EXPECT_TRUE(NoCharacterCut(Strings(DeleteColumns(Views(in), s, n)))) << s << "," << n;
      EXPECT_TRUE(NoCharacterCut(Strings(ExtractColumns(Views(in), s, n)))) << s << "," << n;
    }
}

TEST(linecsv, QuotesSeparatorsAndAShortLastRecord) {
  V abc = {"a", "b", "c"};
  EXPECT_EQ(Strings(linecsv(Views(abc), "\"", ",", 2)), (V{"\"a\",\"b\"", "\"c\""}));
  EXPECT_EQ(Strings(linecsv(Views(abc), "'", ",", 5)), (V{"'a','b','c'"}));
  EXPECT_EQ(Strings(linecsv(Views(abc), "", "", 3)), (V{"abc"}));
  EXPECT_EQ(Strings(linecsv(Views(abc), "", "\t", 1)), abc);
  V quoted = {"say \"hi\""};
  EXPECT_EQ(Strings(linecsv(Views(quoted), "\"", ",", 2)), (V{"\"say \"hi\"\""}));
  EXPECT_EQ(Strings(linecsv(Views(abc), "", ",", 0)), abc);  // never divides by nothing
}

TEST(Answers, HexSeparatorFromOneToFF) {
  EXPECT_EQ(ParseHexSeparator("09"), '\t');
  EXPECT_EQ(ParseHexSeparator("2C"), ',');
  EXPECT_EQ(ParseHexSeparator("2c"), ',');
  EXPECT_EQ(ParseHexSeparator("FF"), '\xFF');
  for (const char* bad : {"", "100", "00", "G1", "-1", "1 2", "FFFFFFFFFFFF"})
    EXPECT_FALSE(ParseHexSeparator(bad)) << bad;
}

TEST(Answers, IntegersStrictAndLenient) {
  EXPECT_EQ(ParseInteger(" 12 "), 12);
  EXPECT_EQ(ParseInteger("-3"), -3);
  for (const char* bad : {"", "x", "1x", "99999999999", "1.5"}) EXPECT_FALSE(ParseInteger(bad)) << bad;
  EXPECT_EQ(NumberOr("abc", 1, 1, kMaxColumn), 1);
  EXPECT_EQ(NumberOr("0", 1, 1, kMaxColumn), 1);
  EXPECT_EQ(NumberOr("70000", 1, 1, kMaxColumn), kMaxColumn);
  EXPECT_EQ(NumberOr("99999999999999", 1, 1, kMaxColumn), kMaxColumn);
  EXPECT_EQ(NumberOr("12", 1, 1, kMaxColumn), 12);
}

}  // namespace
}  // namespace haruvi::textcmd
