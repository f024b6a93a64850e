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

// Each edge of each byte range, with the byte on either side of it. Where a row looks at
// what follows a pair, "\x9D\x41" after it tells a run (which swallows 0x9D) from a
// plain pair (after which 0x9D decides Shift_JIS on its own).
TEST(DetectCharCode, EveryRangeEdgeOnBothSides) {
  using namespace std::string_literals;
  const std::string pad509 = Repeat("a", 509), pad600 = Repeat("a", 600);
  const Row rows[] = {
      // Binary bytes, first pass: 0x00-0x07 and 0xFF; 0x08 and 0xFE are not binary.
      {"ab\x00" "cd"s, ccBinary, "0x00"},
      {"ab\x07" "cd", ccBinary, "0x07, top of the control range"},
      {"ab\x08" "cd", ccAscii, "0x08 is ordinary"},
      {"ab\xFE" "cd", ccEuc, "0xFE is an EUC lead, not binary"},
      {"ab\xFF" "cd", ccBinary, "0xFF"},
      // The first pass reads up to byte 512 and never the last byte.
      {"\x88\x9F" + pad509 + "\x01" "a", ccBinary, "binary byte 512 is seen before the decision"},
      {"\x88\x9F" + pad509 + "a\x01" "a", ccSjis, "binary byte 513 is left to the second pass"},
      {"\x88\x9F\x01" "a", ccBinary, "binary byte before the last"},
      {"\x88\x9F\x01", ccSjis, "binary byte as the last byte"},
      // The second pass meets binary bytes too, past the first 512.
      {pad600 + "\x00" "ab"s, ccBinary, "0x00 past 512"},
      {pad600 + "\x07" "ab", ccBinary, "0x07 past 512"},
      {pad600 + "\x08" "ab", ccAscii, "0x08 past 512"},
      {pad600 + "\xFF" "ab", ccBinary, "0xFF past 512"},
      // Lead bytes.
      {"\x7F\x41", ccAscii, "0x7F is plain"},
      {"\x80\x41", ccAscii, "0x80 decides nothing"},
      {"\x81\x41", ccSjis, "0x81, bottom of the Shift_JIS leads"},
      {"\x8D\xA1\x41", ccSjis, "0x8D decides without its second byte"},
      {"\x8F\xA1\x41", ccSjis, "0x8F decides without its second byte"},
      {"\x9F\xA1\x41\x41", ccSjis, "0x9F, top of the Shift_JIS leads"},
      {"\xA0\x41", ccAscii, "0xA0 decides nothing"},
      {"\xA1\x41", ccSjis, "0xA1, bottom of the kana leads"},
      {"\xDF\xA0" "a", ccAscii, "0xDF, top of the kana leads: 0xA0 after it decides nothing"},
      {"\xE0\xA0" "a", ccSjis, "0xE0, bottom of the two-byte leads"},
      {"\xEF\xA0" "a", ccSjis, "0xEF, top of the two-byte leads"},
      {"\xF0\xA0" "a", ccEuc, "0xF0, bottom of the EUC-only leads"},
      {"\xFE\x41", ccEuc, "0xFE, top of the EUC-only leads"},
      // 0x8E and its second byte.
      {"\x8E\x3F" "a", ccAscii, "8E 3F"},
      {"\x8E\x40", ccSjis, "8E 40"},
      {"\x8E\x7E", ccSjis, "8E 7E"},
      {"\x8E\x7F" "a", ccAscii, "8E 7F"},
      {"\x8E\x80", ccSjis, "8E 80"},
      {"\x8E\xA0", ccSjis, "8E A0"},
      {"\x8E\xA1", ccEucOrSjis, "8E A1"},
      {"\x8E\xDF", ccEucOrSjis, "8E DF"},
      {"\x8E\xE0", ccSjis, "8E E0"},
      {"\x8E\xFC", ccSjis, "8E FC"},
      {"\x8E\xFD" "a", ccAscii, "8E FD"},
      {"\x8E\xFE" "a", ccAscii, "8E FE"},
      {"\x8E\xFF", ccAscii, "8E FF"},
      // Kana lead (0xA1-0xDF) and its second byte.
      {"\xA1\x9F", ccSjis, "A1 9F"},
      {"\xA1\xA0" "a", ccAscii, "A1 A0"},
      {"\xA1\xA1", ccEucOrSjis, "A1 A1"},
      {"\xDF\xDF", ccEucOrSjis, "DF DF"},
      {"\xA1\xDF\x9D\x41", ccSjis, "A1 DF is a pair, not a run"},
      {"\xA1\xE0\x9D\x41", ccEucOrSjis, "A1 E0 starts a run"},
      {"\xA1\xEF\x9D\x41", ccEucOrSjis, "A1 EF starts a run"},
      {"\xA1\xF0", ccEuc, "A1 F0"},
      {"\xA1\xFE", ccEuc, "A1 FE"},
      {"\xA1\xFF", ccAscii, "A1 FF"},
      // The run after a kana lead and 0xE0-0xEF: its bytes and where it ends.
      {"\xA1\xE0", ccEucOrSjis, "run cut by the end"},
      {"\xA1\xE0\x3F\x9D\x41", ccSjis, "0x3F ends the run"},
      {"\xA1\xE0\x40\x9D\x41", ccEucOrSjis, "0x40 goes on with the run"},
      {"\xA1\xE0\x80" "a", ccEucOrSjis, "run byte 80"},
      {"\xA1\xE0\x81" "a", ccSjis, "run byte 81"},
      {"\xA1\xE0\x8D" "a", ccSjis, "run byte 8D"},
      {"\xA1\xE0\x8E" "a", ccEucOrSjis, "run byte 8E"},
      {"\xA1\xE0\x8F" "a", ccSjis, "run byte 8F"},
      {"\xA1\xE0\x9C" "a", ccSjis, "run byte 9C"},
      {"\xA1\xE0\x9D" "a", ccEucOrSjis, "run byte 9D"},
      {"\xA1\xE0\xFC" "a", ccEucOrSjis, "run byte FC"},
      {"\xA1\xE0\xFD" "a", ccEuc, "run byte FD"},
      {"\xA1\xE0\xFE" "a", ccEuc, "run byte FE"},
      // Two-byte lead (0xE0-0xEF) and its second byte.
      {"\xE0\x3F" "a", ccAscii, "E0 3F"},
      {"\xE0\x40", ccSjis, "E0 40"},
      {"\xE0\x7E", ccSjis, "E0 7E"},
      {"\xE0\x7F" "a", ccAscii, "E0 7F"},
      {"\xE0\x80", ccSjis, "E0 80"},
      {"\xEF\xA0", ccSjis, "EF A0"},
      {"\xEF\xA1", ccEucOrSjis, "EF A1"},
      {"\xE0\xFC", ccEucOrSjis, "E0 FC"},
      {"\xE0\xFD", ccEuc, "E0 FD"},
      {"\xEF\xFE", ccEuc, "EF FE"},
      {"\xE0\xFF", ccAscii, "E0 FF"},
      // Escapes take their bytes with them.
      {"\x1B$A\x88\x41", ccSjis, "ESC $ A decides nothing; the byte after it is a lead"},
      {"\x1B\x88\x41", ccAscii, "ESC takes the byte after it"},
      {"\x1B$\x88", ccAscii, "ESC $ and a high byte"},
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

TEST(DetectCharCode, EveryPairAgreesWithTheByteByByteRules) {
  // Every lead and second byte, at the start, after a stretch the block skipping passes
  // over, and on either side of a block edge; "\x9D\x41" after the pair shows where it
  // ended, and the plain text after that makes the block holding the pair a whole one.
  const std::string prefixes[] = {"", Repeat("abcd", 33), Repeat("\xA4\xA2", 31) + "a",
                                  Repeat("\xA4\xA2", 32), Repeat("\xA4\xA2", 31) + "\xA4"};
  const std::string suffix = "\x9D\x41" + Repeat("ab", 70);
  for (const std::string& prefix : prefixes) {
    for (int b = 0; b < 256; ++b) {
      for (int c = 0; c < 256; ++c) {
        const std::string text = prefix + static_cast<char>(b) + static_cast<char>(c) + suffix;
        ASSERT_EQ(DetectCharCode(text), Reference(text)) << b << " " << c << " after " << prefix.size();
      }
    }
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
