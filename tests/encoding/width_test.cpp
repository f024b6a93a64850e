// Width and kana conversion of Shift_JIS text.
#include "encoding/width.h"

#include <gtest/gtest.h>

#include <utility>

#include "encoding/jis_convert.h"
#include "kana_marks.h"
#include "support/sjis.h"

namespace haruvi::encoding {
namespace {

struct Row {
  std::string in, out;
  const char* why;
};

TEST(HankakuToZenkaku, WidensLettersDigitsSymbolsAndKana) {
  const Row rows[] = {
      {"Ab1", "\x82\x60\x82\x82\x82\x50", "Ａｂ１"},
      {"(a)", "\x81\x69\x82\x81\x81\x6A", "（ａ）"},
      {" ", "\x81\x40", "full-width space"},
      {"\\~\"", "\x81\x8F\x81\x50\x81\x68", "￥￣”"},
      {"\xB6\xDE", "\x83\x4B", "ｶﾞ -> ガ"},
      {"\xCA\xDF", "\x83\x70", "ﾊﾟ -> パ"},
      {"\xB3\xDE", "\x83\x45\x81\x4A", "ｳﾞ -> ウ゛ (ｳ takes no mark)"},
      {"\xB6\xDF", "\x83\x4A\x81\x4B", "ｶﾟ -> カ゜, not キ"},
      {"\xDE", "\xDE", "a lone ﾞ stays"},
      {"\xA1\xA2\xA3\xA4\xA5\xB0", "\x81\x42\x81\x75\x81\x76\x81\x41\x81\x45\x81\x5B", "｡｢｣､･ｰ"},
      {"\xA6\xDD", "\x83\x92\x83\x93", "ｦﾝ"},
      {"\x88\x9F" "a", "\x88\x9F\x82\x81", "kanji kept"},
      {"\r\n\t", "\r\n\t", "line ends and TAB"},
      {"\x88\r\n", "\x88\r\n", "a lead byte before a line end stays alone"},
      {"\x88", "\x88", "a lead byte at the end"},
  };
  for (const Row& row : rows) EXPECT_EQ(HankakuToZenkaku(row.in), row.out) << row.why;
}

TEST(ZenkakuToHankaku, NarrowsKanaLettersAndSymbols) {
  const Row rows[] = {
      {"\x83\x4B", "\xB6\xDE", "ガ"},
      {"\x82\xCF", "\xCA\xDF", "ぱ"},
      {"\x83\x94", "\xB3\xDE", "ヴ"},
      {"\x83\x96", "\xB9", "ヶ"},
      {"\x83\x95", "\xB6", "ヵ"},
      {"\x83\x8E\x82\xEC", "\xDC\xDC", "ヮ ゎ"},
      {"\x83\x90\x82\xEE\x83\x91", "\xB2\xB2\xB4", "ヰ ゐ ヱ"},
      {"\x83\x92\x82\xF0", "\xA6\xA6", "ヲ を"},
      {"\x83\x40\x82\x9F", "\xA7\xA7", "small ァ ぁ"},
      {"\x82\x79", "Z", "Ｚ"},
      {"\x82\x4F", "0", "０"},
      {"\x8A\xBF", "\x8A\xBF", "漢 unchanged"},
      {"\x81\x68\x81\x8F", "\"\\", "” ￥"},
      {"\x81\x5B\x81\x42", "\xB0\xA1", "ー 。"},
      {"\x81\x4A", "\x81\x4A", "゛ has no partner"},
      {"\r\n", "\r\n", "line ends"},
      {"a\x88", "a\x88", "a lone lead byte at the end is not paired with '@'"},
      {"\x82\r\n", "\x82\r\n", "a lead byte before a line end"},
  };
  for (const Row& row : rows) EXPECT_EQ(ZenkakuToHankaku(row.in), row.out) << row.why;
}

TEST(ZenkakuToHankaku, LooksSymbolsUpOnCharacterBoundariesOnly) {
  // 0x81 0x81 is ＝; the pair 0x88 0x81 (a kanji) must not be taken for it.
  EXPECT_EQ(ZenkakuToHankaku("\x88\x81\x81\x40"), "\x88\x81 ");
}

TEST(WidthConversion, EveryHalfWidthKanaRoundTripsThroughBothDirections) {
  for (int k = 0xA6; k <= 0xDD; ++k) {
    if (k == 0xB0) continue;
    const std::string kana(1, static_cast<char>(k));
    EXPECT_EQ(ZenkakuToHankaku(HankakuToZenkaku(kana)), kana) << k;
  }
}

TEST(WidthConversion, EveryKanaWithEitherMarkWidensAndNarrowsBack) {
  // The kana with a table entry (0xA6-0xDD but ｰ); unlike the JIS conversion, ｳﾞ stays
  // two characters here, since ｳ has no voicing.
  for (unsigned k = 0xA6; k <= 0xDD; ++k) {
    if (k == 0xB0) continue;
    const auto& row = test::kKanaWithMarks[k - 0xA1];
    const std::string kana = ::haruvi::test::S(row.half);
    ASSERT_EQ(kana, std::string(1, static_cast<char>(k)));
    const std::string voiced = ::haruvi::test::S(k == 0xB3 ? "ウ゛" : row.voiced);
    const std::string semi_voiced = ::haruvi::test::S(row.semi_voiced);
    for (const auto& [mark, want] : {std::pair{"\xDE", voiced}, std::pair{"\xDF", semi_voiced}}) {
      // The line end after it shows the mark was taken and nothing more.
      EXPECT_EQ(HankakuToZenkaku(kana + mark + "\r\n"), want + "\r\n") << row.half << " " << mark;
      if (want.size() == 2) {
        EXPECT_EQ(ZenkakuToHankaku(want), kana + mark) << row.half << " " << mark;
      }
    }
  }
}

TEST(WidthConversion, EveryPrintableAsciiByteWidensToItsFullWidthFormAndBack) {
  // The full-width form is U+FF01 + (c - '!') (space: U+3000), written as Shift_JIS by
  // the system converter; five marks have their Japanese typographic forms instead.
  for (int c = 0x20; c <= 0x7E; ++c) {
    std::string want;
    switch (c) {
      case '"': want = "”"; break;
      case '\'': want = "’"; break;
      case '`': want = "‘"; break;
      case '\\': want = "￥"; break;
      case '~': want = "￣"; break;
      default: {
        const char32_t u = c == ' ' ? 0x3000 : 0xFF01 + (c - '!');
        want = {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
                static_cast<char>(0x80 | (u & 0x3F))};
      }
    }
    const std::string half(1, static_cast<char>(c));
    const std::string full = ::haruvi::test::S(want);
    EXPECT_EQ(HankakuToZenkaku(half), full) << half;
    EXPECT_EQ(ZenkakuToHankaku(full), half) << half;
  }
}

TEST(HalfKanaToFull, WidensKanaOnlyOneForOne) {
  const Row rows[] = {
      {"\xB1\xB2\xB3", "\x83\x41\x83\x43\x83\x45", "ｱｲｳ"},
      {"\xB6\xDE", "\x83\x4A\x81\x4A", "ｶﾞ -> カ゛, marks not merged"},
      {"ab \x88\x9F\r\n", "ab \x88\x9F\r\n", "ASCII and kanji unchanged"},
      {"\xA1\xDF", "\x81\x42\x81\x4B", "｡ and ﾟ"},
      {"\x88", "\x88", "a lead byte at the end"},
  };
  for (const Row& row : rows) EXPECT_EQ(HalfKanaToFull(row.in), row.out) << row.why;
  for (int k = 0xA1; k <= 0xDF; ++k) {
    const std::string full = HalfKanaToFull(std::string(1, static_cast<char>(k)));
    const BytePair jis = SjisPairToJis(static_cast<unsigned char>(full[0]), static_cast<unsigned char>(full[1]));
    EXPECT_EQ(jis[0], HalfKanaRow(static_cast<unsigned char>(k)));
    EXPECT_EQ(jis[1], HalfKanaTable[k - 0xA1]);
  }
}

}  // namespace
}  // namespace haruvi::encoding
