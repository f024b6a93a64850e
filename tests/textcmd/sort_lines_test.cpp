// Japanese line sort: collation order, case ignored, deterministic ties.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "textcmd/sort_lines.h"
#include "sjis_text.h"

namespace haruvi::textcmd {
namespace {

using namespace test;  // Sj, Views, Strings, V

V Sorted(const V& in, SortOrder order = SortOrder::kAscending) {
  return Strings(SortLines(Views(in), order));
}

TEST(SortLines, CaseIgnoredTiesGoByBytes) {
  EXPECT_EQ(Sorted({"b", "B", "a"}), (V{"a", "B", "b"}));
  EXPECT_EQ(Sorted({"B", "b", "a"}), (V{"a", "B", "b"}));
  EXPECT_EQ(Sorted({"b", "a", "B"}, SortOrder::kDescending), (V{"b", "B", "a"}));
  EXPECT_EQ(Sorted({"Apple", "apricot", "APPLE", "banana"}), (V{"APPLE", "Apple", "apricot", "banana"}));
}

// Empty lines are counted rather than sorted: they come first going up and last going
// down, before even a line of characters the collation ignores, whose key is as empty.
TEST(SortLines, EmptyLinesAreCountedAndGoFirst) {
  const V in = {"b", "", "\x01", "", "a", ""};
  EXPECT_EQ(Sorted(in), (V{"", "", "", "\x01", "a", "b"}));
  EXPECT_EQ(Sorted(in, SortOrder::kDescending), (V{"b", "a", "\x01", "", "", ""}));
  const SortedLines grouped = SortLinesGrouped(Views(in), SortOrder::kAscending);
  EXPECT_EQ(grouped.empty_first, 3u);
  EXPECT_EQ(grouped.rest.size(), 3u);
  EXPECT_EQ(Sorted({"", ""}), (V{"", ""}));
}

TEST(SortLines, EveryAsciiLetterFoldsAndItsNeighboursDoNot) {
  // Without the fold the collator puts "xa" before "Xa"; folded they tie and go by bytes.
  for (char upper = 'A'; upper <= 'Z'; ++upper) {
    const std::string u(1, upper), l(1, static_cast<char>(upper + 32));
    EXPECT_EQ(Sorted({l + "b", l + "a", u + "a"}), (V{u + "a", l + "a", l + "b"})) << upper;
  }
  // '@' and '[' sit just outside the capitals: folded they would pass for '`' and '{'
  // and change places with the punctuation the collator puts between.
  EXPECT_EQ(Sorted({"*", "@"}), (V{"@", "*"}));
  EXPECT_EQ(Sorted({"]", "["}), (V{"[", "]"}));
}

TEST(SortLines, JapaneseOrderNotByteOrder) {
  // In Shift_JIS bytes katakana (0x83..) follow hiragana (0x82..) and kanji follow both;
  // in reading order カ comes between あ and さ.
  EXPECT_EQ(Sorted(Sj(V{"さくら", "カメラ", "あめ"})), Sj(V{"あめ", "カメラ", "さくら"}));
  // Half-width katakana (0xB6) collate with their full-width forms, before さ.
  EXPECT_EQ(Sorted(Sj(V{"さ", "ｶ", "あ"})), Sj(V{"あ", "ｶ", "さ"}));
  // Full-width Latin letters sort with the half-width ones, case ignored.
  EXPECT_EQ(Sorted(Sj(V{"ｂ", "Ａ", "c", "a"})), Sj(V{"a", "Ａ", "ｂ", "c"}));
  // Latin before kana before kanji.
  EXPECT_EQ(Sorted(Sj(V{"漢字", "かな", "abc", "123"})), Sj(V{"123", "abc", "かな", "漢字"}));
}

TEST(SortLines, DescendingIsTheExactReverse) {
  V in = Sj(V{"か", "カ", "ｶ", "が", "a", "A", "", " ", "亜"});
  in.push_back("\x81");  // a lone lead byte
  V up = Sorted(in), down = Sorted(in, SortOrder::kDescending);
  std::reverse(down.begin(), down.end());
  EXPECT_EQ(up, down);
  V shuffled(in.rbegin(), in.rend());
  EXPECT_EQ(Sorted(shuffled), up);
}

TEST(SortLines, AnyBytesSortWithoutFailing) {
  V in;
  for (int b = 0; b < 256; ++b) in.push_back(std::string(1, static_cast<char>(b)) + "\xFF\x81");
  EXPECT_EQ(Sorted(in).size(), 256u);
  EXPECT_TRUE(Sorted({}).empty());
}

}  // namespace
}  // namespace haruvi::textcmd

namespace haruvi::textcmd {
namespace {

TEST(SortLines, ALargeTextSortedByTwoWorkersIsInOneOrder) {
  // 40,000 lines, so the keys are made by two workers on halves: numbers in a shuffled
  // order, half of them after "あ" or "ア" (equal in the first strength: the bytes decide).
  std::vector<std::string> owned;
  for (int i = 0; i < 40000; ++i) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06d", i);
    owned.push_back((i % 3 == 0 ? std::string("\x82\xA0") : i % 3 == 1 ? std::string("\x83\x41") : std::string()) + digits);
  }
  std::vector<std::string_view> lines(owned.begin(), owned.end());
  std::mt19937 rng(1);
  std::shuffle(lines.begin(), lines.end(), rng);
  const std::vector<std::string_view> sorted = SortLines(lines, SortOrder::kAscending);
  ASSERT_EQ(sorted.size(), lines.size());
  // Digits first in numeric order, then the kana lines by their digits.
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    const bool a_kana = static_cast<unsigned char>(sorted[i - 1][0]) >= 0x80;
    const bool b_kana = static_cast<unsigned char>(sorted[i][0]) >= 0x80;
    ASSERT_LE(a_kana, b_kana) << i;
    if (a_kana == b_kana && !a_kana) {
      ASSERT_LT(sorted[i - 1], sorted[i]) << i;
    }
  }
  const std::vector<std::string_view> down = SortLines(lines, SortOrder::kDescending);
  EXPECT_TRUE(std::equal(down.begin(), down.end(), sorted.rbegin()));
}

}  // namespace
}  // namespace haruvi::textcmd
