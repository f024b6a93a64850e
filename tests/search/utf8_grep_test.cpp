// A UTF-8 file grepped as it is gives the lines, numbers and bytes that its whole
// Shift_JIS form with stand-ins gives: for literals, and for the line automaton's patterns
// (each line, or only those holding the UTF-8 forms of the characters every match needs,
// converted alone, with one stand-in for everything without a code), fuzzy or not.
// Patterns that could tell stand-ins apart are not taken that way.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "encoding/utf8_standins.h"
#include "search/grep.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;
using Lines = std::vector<std::pair<std::int64_t, std::string>>;

// The lines of the whole text's Shift_JIS form, put back into UTF-8.
Lines Reference(const std::string& sjis_pattern, const std::string& utf8, const test::TempDir& dir,
                bool fuzzy = false) {
  encoding::Utf8StandIns standins;
  const std::optional<std::string> sjis = standins.ToSjis(utf8);
  EXPECT_TRUE(sjis.has_value());
  const auto file = dir.Write("copy.txt", sjis.value_or(""));
  TGrep g;
  g.SetUseFuzzyCharDic(fuzzy);
  g.SetRegExp(sjis_pattern);
  Lines out;
  g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { out.emplace_back(li.LineNo, standins.ToUtf8(li.Line)); };
  g.GrepFile(file.string());
  return out;
}

// The file as it is when the grep may, else through the same reference.
Lines Direct(const std::string& sjis_pattern, const std::string& path, std::size_t block, bool* direct,
             bool fuzzy = false) {
  TGrep g;
  g.SetUseFuzzyCharDic(fuzzy);
  g.SetRegExp(sjis_pattern);
  g.SetBlockSize(block);
  Lines out;
  g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { out.emplace_back(li.LineNo, li.Line); };
  *direct = g.CanGrepUtf8();
  if (*direct) g.GrepUtf8File(path);
  return out;
}

std::string RandomUtf8(std::mt19937& rng, std::size_t pieces) {
  using namespace std::string_view_literals;
  static constexpr std::string_view kPieces[] = {
      "年"sv, "月"sv, "日"sv, "2026"sv, "7"sv, "abc"sv, " "sv, "　"sv, "😀"sv, "e\xCC\x81"sv, "①"sv, "㈱"sv, "ⅰ"sv,
      "ｱ"sv, "ﾞ"sv, "〜"sv, "～"sv,
      "\xEE\x80\x80"sv,                 // U+E000, a user-area character of its own
      "\xFF"sv, "\xE5"sv, "\xE5\xB9"sv,  // stray and cut bytes
      "\0"sv, "\r\n"sv, "\n"sv, "\r"sv, "文字"sv, "コード"sv, "x"sv};
  std::string text;
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
  for (std::size_t i = 0; i < pieces; ++i) text += kPieces[pick(rng)];
  return text;
}

TEST(Utf8Grep, LinesOfAUtf8FileAreThoseOfItsShiftJisFormWithStandIns) {
  const std::vector<std::string> patterns = {
      S("[0-9]+年[0-9]+月"), S("年.月"), S("年[^a]月"), S("^.年"), S("月$"), S("ｱﾞ*"), S("①+"), S("ⅰ|㈱"),
      S("文字コード"), S("年 *[0-9]"), S("日..日"), S("～"), "abc|x", S("年[0-9]*$"), "[0-9]+", S("ｱ|e")};
  std::mt19937 rng(20261207);
  test::TempDir dir;
  std::size_t direct_runs = 0;
  for (int round = 0; round < 24; ++round) {
    const std::string text = RandomUtf8(rng, 40 + static_cast<std::size_t>(round) * 20);
    const std::string path = dir.Write("u.txt", text).string();
    for (const std::string& pattern : patterns) {
      for (bool fuzzy : {false, true}) {
        const Lines want = Reference(pattern, text, dir, fuzzy);
        for (std::size_t block : {std::size_t{3}, TTxtFile::kBlockSize}) {
          bool direct = false;
          const Lines got = Direct(pattern, path, block, &direct, fuzzy);
          if (!direct) continue;
          ++direct_runs;
          ASSERT_EQ(got, want) << "round " << round << " pattern #" << (&pattern - patterns.data()) << " block "
                               << block << " fuzzy " << fuzzy;
        }
      }
    }
  }
  EXPECT_GE(direct_runs, 24u * 2 * 2 * 14);  // every pattern, plain and fuzzy
}

TEST(Utf8Grep, OnlyPatternsThatCannotTellStandInsApartGoTheDirectWay) {
  auto direct = [](const std::string& pattern) {
    TGrep g;
    g.SetRegExp(pattern);
    return g.CanGrepUtf8();
  };
  EXPECT_TRUE(direct(S("[0-9]+年[0-9]+月")));
  EXPECT_TRUE(direct(S("年.月")));          // "." takes any stand-in alike
  EXPECT_TRUE(direct(S("文字コード")));     // a literal
  EXPECT_FALSE(direct(S("年\\xF040+")));    // a user-area code: stand-ins differ
  EXPECT_FALSE(direct(S("年[\\xF040-\\xF0FF]")));
  EXPECT_TRUE(direct("[0-9]+"));            // no character every match needs: every line tried
  // A code no UTF-8 character becomes (an IBM character's NEC copy): no line can match.
  test::TempDir dir;
  const std::string path = dir.Write("u.txt", "ⅰ年\n年\n").string();
  bool went = false;
  EXPECT_EQ(Direct("\xEE\xEF\x94\x4E+", path, TTxtFile::kBlockSize, &went), Lines{});
  EXPECT_TRUE(went);
  EXPECT_EQ(Direct(S("ⅰ年+"), path, TTxtFile::kBlockSize, &went), (Lines{{1, "ⅰ年"}}));
}

TEST(Utf8Grep, ShiftJisFormsAndSourcesOfCharacters) {
  std::string out;
  encoding::ToSjisAlike("a年😀\xFF\xEE\x80\x80ｱ", out);
  EXPECT_EQ(out, "a" + S("年") + "\xF0\x40\xF0\x40\xF0\x40" + S("ｱ"));
  using encoding::Utf8Source;
  EXPECT_EQ(encoding::Utf8SourceOf(S("年")).utf8, "年");
  EXPECT_EQ(encoding::Utf8SourceOf(S("ｱ")).utf8, "ｱ");
  EXPECT_EQ(encoding::Utf8SourceOf("a").utf8, "a");
  EXPECT_EQ(encoding::Utf8SourceOf("\xEE\xEF").kind, Utf8Source::kNone);  // ⅰ's NEC copy
  EXPECT_EQ(encoding::Utf8SourceOf("\xFA\x40").utf8, "ⅰ");
  EXPECT_EQ(encoding::Utf8SourceOf("\xF0\x40").kind, Utf8Source::kStandIns);
  EXPECT_EQ(encoding::Utf8SourceOf("\xA0").kind, Utf8Source::kNone);
}

}  // namespace
}  // namespace haruvi::search
