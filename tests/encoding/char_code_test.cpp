// Character-code detection: the deciding rules, their corners, and the block skipping
// agreeing with a plain byte-by-byte reading of the same rules.
#include "encoding/char_code.h"

#include <gtest/gtest.h>

#include <random>

namespace haruvi::encoding {
namespace {

struct Row {
  std::string text;
  TCharCode code;
  const char* why;
};

std::string Repeat(std::string_view s, size_t times) {
  std::string out;
  for (size_t k = 0; k < times; ++k) out += s;
  return out;
}

TEST(DetectCharCode, DecidesByTheFirstDecidingByte) {
  const std::string ascii600 = Repeat("abcdef ", 100);
  const Row rows[] = {
      {"", ccAscii, "empty"},
      {"\x88", ccAscii, "one byte"},
      {"hello\r\n", ccAscii, "plain ASCII"},
      {"abc\x88", ccAscii, "only the last byte is high"},
      {"\x1B$B0!\x1B(B", ccJis83, "ESC $ B"},
      {"\x1B$@0!\x1B(J", ccJis78, "ESC $ @"},
      {"a\x1B(Bb", ccAscii, "ESC ( B alone"},
      {"\x1B$", ccAscii, "ESC $ cut off"},
      {"\x1B$B\x01x", ccBinary, "binary byte within 512 wins over an earlier escape"},
      {"abc\x01", ccAscii, "binary byte as the last byte"},
      {"ab\xFF" "c", ccBinary, "0xFF"},
      {ascii600 + "\x02" "ab", ccBinary, "binary byte past 512 met by the classification"},
      {"\x88\x9F then \xA4\xA2\xF0", ccSjis, "first deciding byte wins"},
      {"\xA4\xA2\xA4\xA4", ccEucOrSjis, "EUC hiragana"},
      {"\xB1\xB2\xB3\xB4", ccEucOrSjis, "half-width kana pairs"},
      {"\xB1" "a", ccSjis, "half-width kana then ASCII"},
      {"\x8E\xB1", ccEucOrSjis, "0x8E then 0xA1-0xDF"},
      {"\x8E\xE0", ccSjis, "0x8E then 0xE0"},
      {"\xB1\xE0" "abc", ccEucOrSjis, "run reaches the end undecided"},
      {"\xB1\xE0\x88", ccSjis, "run decided by 0x88"},
      {"\xB1\xE0\xFE", ccEuc, "run decided by 0xFE"},
      {"\xB1\xE0\x1B$Bxx", ccEucOrSjis, "the ESC that ends a run goes with it"},
      {ascii600 + "\xB1\xE0\x01\xF0x", ccEuc, "a control byte ending a run is not classified"},
      {"\xE0\x40", ccSjis, "0xE0 then 0x40"},
      {"\xE0\xFD", ccEuc, "0xE0 then 0xFD"},
      {"\xE0\xA1", ccEucOrSjis, "0xE0 then 0xA1"},
      {"\xF0\xA1", ccEuc, "0xF0-0xFE lead"},
      {"\x80\xA0" "a", ccAscii, "0x80 and 0xA0 decide nothing"},
      {"\xA1\xA0\xA1\xFF", ccAscii, "0xA0 and 0xFF as second bytes decide nothing"},
  };
  for (const Row& row : rows) EXPECT_EQ(DetectCharCode(row.text), row.code) << row.why;
}

TEST(DetectCharCode, LongAmbiguousAndAsciiTextsAreScannedToTheEnd) {
  const std::string pairs = Repeat("\xA4\xA2\xA4\xA4 ab \xB1\xB2\r\n", 5000);
  EXPECT_EQ(DetectCharCode(Repeat("plain text line\r\n", 5000)), ccAscii);
  EXPECT_EQ(DetectCharCode(pairs), ccEucOrSjis);
  // One odd byte deep inside decides.
  EXPECT_EQ(DetectCharCode(pairs + "\xB1 " + pairs), ccSjis);
  EXPECT_EQ(DetectCharCode(pairs + "\xF5" + pairs), ccEuc);
  EXPECT_EQ(DetectCharCode(pairs + "\x1B$B" + pairs), ccJis83);
  EXPECT_EQ(DetectCharCode(Repeat("x", 1000) + "\x03" + "yy"), ccBinary);
}

// The rules read one byte at a time, without any skipping.
TCharCode Reference(std::string_view s) {
  const size_t n = s.size();
  auto at = [&](size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(s[k])); };
  auto in = [](unsigned x, unsigned lo, unsigned hi) { return x >= lo && x <= hi; };
  for (size_t i = 0; i + 1 < n && i < 512; ++i)
    if (at(i) <= 7 || at(i) == 0xFF) return ccBinary;
  TCharCode r = ccAscii;
  size_t i = 0;
  while (i + 1 < n && (r == ccAscii || r == ccEucOrSjis)) {
    const unsigned b = at(i), c = at(i + 1);
    if (b == 0x1B) {
      if (c == '$' && i + 2 < n) r = at(i + 2) == 'B' ? ccJis83 : at(i + 2) == '@' ? ccJis78 : r;
      i += c == '$' ? 3 : 2;
    } else if (b <= 7 || b == 0xFF) {
      r = ccBinary;
    } else if (b < 0x80 || b == 0x80 || b == 0xA0) {
      ++i;
    } else if (b == 0x8E) {
      if (in(c, 0x40, 0x7E) || in(c, 0x80, 0xA0) || in(c, 0xE0, 0xFC)) r = ccSjis;
      else if (in(c, 0xA1, 0xDF)) r = ccEucOrSjis;
      i += 2;
    } else if (b <= 0x9F) {
      r = ccSjis;
    } else if (b <= 0xDF) {
      if (in(c, 0xF0, 0xFE)) r = ccEuc;
      else if (in(c, 0xA1, 0xDF)) r = ccEucOrSjis;
      else if (c <= 0x9F) r = ccSjis;
      else if (in(c, 0xE0, 0xEF)) {
        r = ccEucOrSjis;
        size_t j = i + 1;
        for (; j < n && at(j) >= 0x40 && r == ccEucOrSjis; ++j) {
          if (in(at(j), 0x81, 0x8D) || in(at(j), 0x8F, 0x9C)) r = ccSjis;
          else if (at(j) == 0xFD || at(j) == 0xFE) r = ccEuc;
        }
        i = j + 1;
        continue;
      }
      i += 2;
    } else if (b <= 0xEF) {
      if (in(c, 0x40, 0x7E) || in(c, 0x80, 0xA0)) r = ccSjis;
      else if (c == 0xFD || c == 0xFE) r = ccEuc;
      else if (in(c, 0xA1, 0xFC)) r = ccEucOrSjis;
      i += 2;
    } else {
      r = ccEuc;
    }
  }
  return r;
}

TEST(DetectCharCode, AgreesWithTheByteByByteRulesOnRandomTexts) {
  std::mt19937 rng(99);
  // Mostly plain bytes and ambiguous pairs, so long stretches stay undecided and the
  // block skipping meets runs that cross block edges; now and then a deciding byte.
  const std::string pieces[] = {"a", " ", "\r\n", "\xA4\xA2", "\xB1\xB2", "\xB1\xB2\xB3\xB4", "xy",
                                "\xDF\xA1", "\xE0\xA1", "\x8E\xB1", "\x1B(B", Repeat("\xA4\xA2", 40),
                                Repeat("\xB1\xDF", 77)};
  const std::string rare[] = {"\xB1", "\x88\x9F", "\xF5", "\x1B$B", "\x01", "\xFE", "\xB1\xE5", "\x80",
                              "\xA0", "\xFF", "\x1B"};
  std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1), rare_piece(0, std::size(rare) - 1);
  std::uniform_int_distribution<int> length(0, 3000), chance(0, 999);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int target = length(rng);
    const int rarity = chance(rng) % 400 + 1;
    while (static_cast<int>(text.size()) < target)
      text += chance(rng) < rarity / 4 ? rare[rare_piece(rng)] : pieces[piece(rng)];
    ASSERT_EQ(DetectCharCode(text), Reference(text)) << round;
    // The same text shifted against the block boundaries.
    ASSERT_EQ(DetectCharCode(" " + text), Reference(" " + text)) << round;
    ASSERT_EQ(DetectCharCode("\xA4" + text), Reference("\xA4" + text)) << round;
  }
}

TEST(CharCodeName, NamesEveryCodeAndNothingElse) {
  EXPECT_EQ(CharCodeName(ccAscii), "ASCII");
  EXPECT_EQ(CharCodeName(ccBinary), "ﾊﾞｲﾅﾘ");
  EXPECT_EQ(CharCodeName(ccJis83), "JIS83");
  EXPECT_EQ(CharCodeName(ccJis78), "JIS78");
  EXPECT_EQ(CharCodeName(ccEuc), "EUC");
  EXPECT_EQ(CharCodeName(ccSjis), "ｼﾌﾄJIS");
  EXPECT_EQ(CharCodeName(ccEucOrSjis), "EUC+ｼﾌﾄJIS");
  EXPECT_EQ(CharCodeName(static_cast<TCharCode>(7)), "");
  EXPECT_EQ(CharCodeName(static_cast<TCharCode>(-1)), "");
}

}  // namespace
}  // namespace haruvi::encoding
