// The EUC-JP pane codec: every byte string, valid or not, comes back byte for byte, and
// the three kinds of EUC-JP characters decode to the characters a reader expects.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "encoding/pane_codec.h"

namespace haruvi::encoding {
namespace {

const PaneCodec& Euc() { return PaneCodec::For(CodePage::EucJp); }

void ExpectRoundTrip(const std::string& bytes) {
  size_t missing = 99;
  ASSERT_EQ(Euc().Encode(Euc().Decode(bytes), &missing), bytes);
  ASSERT_EQ(missing, 0u);
}

TEST(PaneCodecEuc, EveryThreeByteSequenceOfTheSupplementarySetRoundTrips) {
  // 0x8F with every pair: JIS X 0212 cells, cells it leaves empty, bytes no cell has.
  for (int b = 0; b < 256; ++b) {
    for (int c = 0; c < 256; ++c) {
      ExpectRoundTrip(std::string{'\x8F', static_cast<char>(b), static_cast<char>(c)});
      ExpectRoundTrip(std::string{'\x8E', static_cast<char>(b), static_cast<char>(c)});
    }
  }
}

TEST(PaneCodecEuc, RandomTextsOfEucBytesAndBrokenPiecesRoundTrip) {
  // Mostly EUC-JP's own bytes, so pairs and triples form, mixed with line ends, ASCII
  // and bytes that start nothing; cut anywhere, even inside a character.
  std::mt19937 rng(2026);
  const std::string pool = "\x8E\x8F\xA1\xA4\xB0\xDF\xE0\xF5\xF9\xFE\xFF\x80\xA0\r\na ";
  std::uniform_int_distribution<int> len(0, 300), any(0, 255), pick(0, 3);
  std::uniform_int_distribution<size_t> from_pool(0, pool.size() - 1);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(static_cast<size_t>(len(rng)), '\0');
    for (char& ch : bytes) {
      const int kind = pick(rng);
      ch = kind == 0 ? static_cast<char>(any(rng)) : kind == 1 ? pool[from_pool(rng)] : static_cast<char>(0xA1 + any(rng) % 94);
    }
    ExpectRoundTrip(bytes);
  }
}

TEST(PaneCodecEuc, DecodesTheBasicSupplementaryAndKanaSets) {
  struct Row {
    const char* bytes;
    std::u16string units;
  };
  const Row rows[] = {
      {"\xA4\xA2\xB4\xC1", u"\u3042\u6F22"},  // あ漢
      {"\x8E\xB1\x8E\xDF", u"\uFF71\uFF9F"},  // ｱﾟ
      {"\x8F\xB0\xA1", u"\u4E02"},            // 丂 (JIS X 0212)
      {"\xAD\xA1", u"\u2460"},                // ① (NEC row 13)
      {"\xA1\xC1", u"\uFF5E"},                // ～ as CP932 has it
      {"abc\r\n", u"abc\r\n"},
  };
  for (const Row& row : rows) EXPECT_EQ(Euc().Decode(row.bytes), row.units) << row.bytes;
  // NEC's selection of IBM kanji (row 89) is a duplicate of the IBM code in CP932: the
  // character is marked so that it goes back to row 89.
  const std::u16string nec = Euc().Decode("\xF9\xA1");
  ASSERT_EQ(nec.size(), 2u);
  EXPECT_EQ(nec[0], u'\u7E8A');
}

TEST(PaneCodecEuc, BrokenSequencesAreRawBytesThatDoNotSwallowTheNextCharacter) {
  EXPECT_EQ(Euc().Decode("\xA4\r\n"), u"\xDCA4\r\n");
  EXPECT_EQ(Euc().Decode("\x8E\xE0\xA1"), u"\xDC8E" + Euc().Decode("\xE0\xA1"));  // 0xE0 is no kana
  EXPECT_EQ(Euc().Decode("\x8F\xA4\xA2"), Euc().Decode("\x8F") + Euc().Decode("\xA4\xA2"));
  EXPECT_EQ(Euc().Decode("\x80\xFF"), u"\xDC80\xDCFF");
  EXPECT_EQ(Euc().CharLength("\x8F\xB0\xA1"), 3u);
  EXPECT_EQ(Euc().CharLength("\x8F\xB0"), 1u);
  EXPECT_EQ(Euc().CharLength("\x8E\xB1"), 2u);
}

TEST(PaneCodecEuc, TypedTextIsWrittenInEucAndWhatItCannotHoldIsCounted) {
  size_t missing = 0;
  EXPECT_EQ(Euc().Encode(u"あｱ丂a", &missing), "\xA4\xA2\x8E\xB1\x8F\xB0\xA1" "a");
  EXPECT_EQ(missing, 0u);
  EXPECT_EQ(Euc().Encode(u"\U00020BB7\u00E9x", &missing).substr(0, 2), "\xA2\xAE");  // 𠮷
  EXPECT_GE(missing, 1u);
  // A character CP932 has only among its IBM extensions still comes back as itself.
  const std::u16string back = Euc().Decode(Euc().Encode(u"\u7E8A", &missing));
  EXPECT_EQ(missing, 0u);
  EXPECT_EQ(back.substr(0, 1), u"\u7E8A");
}

TEST(PaneCodecEuc, CharStartIsExactInsideALongRunOfKanji) {
  std::string run = "x";
  for (int i = 0; i < 3000; ++i) run += "\xB0\xA1";  // 亜: both bytes could lead
  run += "\x8F\xB0\xA1";
  EXPECT_EQ(Euc().CharStart(run, 4002), 4001u);
  EXPECT_EQ(Euc().CharStart(run, 4001), 4001u);
  EXPECT_EQ(Euc().CharStart(run, 6003), 6001u);
}

}  // namespace
}  // namespace haruvi::encoding
