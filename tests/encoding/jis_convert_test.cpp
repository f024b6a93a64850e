// JIS, EUC and Shift_JIS conversions: the documented cases, every JIS X 0208 character
// against the system converter, half-width kana, and bad input that must not be eaten.
#include "encoding/jis_convert.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <iterator>
#include <optional>
#include <utility>

#include "kana_marks.h"

namespace haruvi::encoding {
namespace {

// The system converter's answer for a short text, or nullopt when it refuses it.
std::optional<std::string> Iconv(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  char buf[64];
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size(), dst_left = sizeof buf;
  char* dst = buf;
  bool ok = iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<size_t>(-1) &&
            iconv(cd, nullptr, nullptr, &dst, &dst_left) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  return std::string(buf, static_cast<size_t>(dst - buf));
}

struct Row {
  std::string in, out;
};

void ExpectRows(std::string (*convert)(std::string_view), std::initializer_list<Row> rows) {
  for (const Row& row : rows) {
    EXPECT_EQ(convert(row.in), row.out) << testing::PrintToString(row.in);
  }
}

TEST(JisConvert, DocumentedCases) {
  ExpectRows(JisToSjis, {{"\x1B$B\x30\x21\x1B(B", "\x88\x9F"},
                         {"\x1B$B\x1B(Babc", "abc"},  // an empty two-byte run
                         {"\x1B$@\x30\x21\x1B(J!", "\x88\x9F!"}});
  ExpectRows(SjisToJis, {{"a\x88\x9F" "b\r\n", "a\x1B$B\x30\x21\x1B(Jb\r\n"},
                         {"\xB6\xDE", "\x1B$B\x25\x2C"},
                         {"\xCA\xDF", "\x1B$B\x25\x51"},
                         {"\xB1\xDE", "\x1B$B\x25\x22\x21\x2B"},
                         {"\xB3\xDE", "\x1B$B\x25\x74"},
                         {"x\x88\x9F", "x\x1B$B\x30\x21"}});  // ends in two-byte mode
  ExpectRows(EucToSjis, {{"\x8E\xB1", "\xB1"}, {"\xB0\xA1" "a", "\x88\x9F" "a"}});
  ExpectRows(SjisToEuc, {{"\xB1", "\x8E\xB1"}, {"\x88\x9F\r\n", "\xB0\xA1\r\n"}});
  ExpectRows(JisToEuc, {{"\x1B$B\x30\x21 \r\n\x1B(B", "\xB0\xA1 \r\n"}});
  ExpectRows(EucToJis, {{"\x8E\xB6\x8E\xDE" "a", "\x1B$B\x25\x2C\x1B(Ja"},
                        {"\x8E\xB1\x8E\xDE", "\x1B$B\x25\x22\x21\x2B"}});
}

TEST(JisConvert, ConvertToCodeFollowsTheDetectedCode) {
  const std::string sjis = "\x88\x9F\x82\xA0\r\n";  // 亜あ
  const std::string jis = SjisToJis(sjis), euc = SjisToEuc(sjis);
  EXPECT_EQ(ConvertToCode(jis, ccSjis), sjis);
  EXPECT_EQ(ConvertToCode("\x1B$@\x30\x21\x1B(J", ccSjis), "\x88\x9F");  // JIS78 like JIS83
  EXPECT_EQ(ConvertToCode(euc + "\xF5\xA1", ccSjis), EucToSjis(euc + "\xF5\xA1"));
  EXPECT_EQ(ConvertToCode(sjis, ccEuc), euc);
  EXPECT_EQ(ConvertToCode(sjis, ccJis83), jis);
  EXPECT_EQ(ConvertToCode(jis, ccEuc), JisToEuc(jis));
  EXPECT_EQ(ConvertToCode(sjis, ccSjis), sjis);
  EXPECT_EQ(ConvertToCode("\xA4\xA2\xA4\xA4", ccSjis), "\xA4\xA2\xA4\xA4");  // undecided
  EXPECT_EQ(ConvertToCode("plain", ccEuc), "plain");
  EXPECT_EQ(ConvertToCode(sjis, ccEucOrSjis), sjis);  // not a target
}

TEST(JisConvert, EveryJisX0208CharacterRoundTripsAndAgreesWithTheSystem) {
  int checked = 0;
  for (int lead = 0x81; lead <= 0xEF; ++lead) {
    if (lead >= 0xA0 && lead <= 0xDF) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const std::string sjis{static_cast<char>(lead), static_cast<char>(trail)};
      const auto sys_euc = Iconv("EUC-JP-MS", "CP932", sjis);
      // Only the codes the system maps into the two-byte EUC area (JIS X 0208, row 13).
      if (!sys_euc || sys_euc->size() != 2) continue;
      ++checked;
      const std::string euc = SjisToEuc(sjis);
      // NEC row 13 duplicates of row 2 characters go to row 2 there; the arithmetic keeps row 13.
      const bool system_keeps_code = Iconv("CP932", "EUC-JP-MS", *sys_euc) == sjis;
      if (system_keeps_code) {
        ASSERT_EQ(euc, *sys_euc) << lead << " " << trail;
      }
      ASSERT_EQ(EucToSjis(euc), sjis);
      const std::string jis = SjisToJis(sjis);
      ASSERT_EQ(JisToSjis(jis), sjis);
      ASSERT_EQ(EucToJis(euc), jis);
      ASSERT_EQ(JisToEuc(jis), euc);
      const auto sys_jis = Iconv("ISO-2022-JP", "CP932", sjis);
      if (system_keeps_code && sys_jis) {
        // The system closes with ESC ( B where we close with nothing; the pair agrees.
        ASSERT_EQ(jis.substr(0, 5), sys_jis->substr(0, 5)) << lead << " " << trail;
      }
    }
  }
  EXPECT_GT(checked, 6800);
}

TEST(JisConvert, HalfWidthKanaStayHalfInEucAndWidenInJis) {
  for (int k = 0xA1; k <= 0xDF; ++k) {
    const std::string kana(1, static_cast<char>(k));
    ASSERT_EQ(EucToSjis(SjisToEuc(kana)), kana);
    const std::string jis = SjisToJis(kana);
    ASSERT_EQ(jis.substr(0, 3), "\x1B$B");
    ASSERT_EQ(jis.size(), 5u);
    const BytePair pair = {static_cast<unsigned char>(jis[3]), static_cast<unsigned char>(jis[4])};
    EXPECT_EQ(pair[0], HalfKanaRow(static_cast<unsigned char>(k)));
    EXPECT_EQ(pair[1], HalfKanaTable[k - 0xA1]);
  }
  // The table widens like the system's JIS X 0201 to JIS X 0208 correspondence.
  EXPECT_EQ(SjisToJis("\xB1\xA7\xB0\xDD\xDE"), "\x1B$B\x25\x22\x25\x21\x21\x3C\x25\x73\x21\x2B");
  const auto sys = Iconv("ISO-2022-JP", "UTF-8", "\xE3\x82\xA2\xE3\x82\xA1\xE3\x83\xBC\xE3\x83\xB3\xE3\x82\x9B");
  ASSERT_TRUE(sys.has_value());
  EXPECT_EQ(sys->substr(0, 13), "\x1B$B\x25\x22\x25\x21\x21\x3C\x25\x73\x21\x2B");
}

TEST(JisConvert, EveryHalfWidthKanaWithEitherMarkWidensAsTheSystemReadsIt) {
  // Our JIS output is read back by the system converter.
  for (const auto& row : test::kKanaWithMarks) {
    const auto kana = Iconv("CP932", "UTF-8", row.half);
    ASSERT_TRUE(kana && kana->size() == 1) << row.half;
    for (const auto& [mark, want] : {std::pair{"\xDE", row.voiced}, std::pair{"\xDF", row.semi_voiced}}) {
      // A following ASCII letter shows the mark took exactly the bytes it merged.
      const std::string sjis = *kana + mark + "a";
      const std::string jis = SjisToJis(sjis);
      EXPECT_EQ(Iconv("UTF-8", "ISO-2022-JP", jis), std::string(want) + "a") << row.half << " " << mark;
      EXPECT_EQ(EucToJis(SjisToEuc(sjis)), jis) << row.half << " " << mark;
    }
  }
}

TEST(JisConvert, BadInputIsKeptAndNeverSwallowsTheNextCharacter) {
  ExpectRows(SjisToEuc, {{"\x88\r\n", "\x88\r\n"},   // lead byte before a line end
                         {"\x88", "\x88"},           // cut off by the end
                         {"\x80\xA0\xFD\xFF" "a", "\x80\xA0\xFD\xFF" "a"}});
  ExpectRows(SjisToJis, {{"\x88\r\n", "\x88\r\n"}, {"\x88", "\x88"}, {"\xFF\x88\x9F", "\xFF\x1B$B\x30\x21"}});
  ExpectRows(EucToSjis, {{"\xB0\r\n", "\xB0\r\n"}, {"\x8E" "a", "\x8E" "a"}, {"\xB0", "\xB0"}});
  ExpectRows(EucToJis, {{"\xB0\r\n", "\xB0\r\n"}, {"\x8E", "\x8E"}, {"\x80\xFF", "\x80\xFF"}});
  ExpectRows(JisToSjis, {{"\x1B$B\x30\x21\r\n\x30\x21", "\x88\x9F\r\n\x88\x9F"},  // no ESC ( B before CR LF
                         {"\x1B$B\x30", "\x30"},
                         {"ab\x1B$", "ab\x1B$"},   // escape cut off by the end
                         {"ab\x1B", "ab\x1B"}});
  ExpectRows(JisToEuc, {{"ab\x1B(", "ab\x1B("}});
  // Escapes are three bytes wherever they stand, whatever follows ESC.
  ExpectRows(JisToSjis, {{"\x1B$B\x1B(Jx", "x"}, {"\x1BXYabc", "abc"}});
}

TEST(JisConvert, OnlyTheKanaMarkMakesAHalfWidthKanaInEuc) {
  // 0x8F (the three-byte code's mark) before a kana-range byte starts a pair like any
  // other lead byte; 0x8E before a byte that is no kana is kept, and so is that byte.
  const BytePair pair = JisPairToSjis(0x0F, 0x22);
  EXPECT_EQ(EucToSjis("\x8F\xA2"), (std::string{static_cast<char>(pair[0]), static_cast<char>(pair[1])}));
  EXPECT_EQ(EucToSjis("\x8E\xE0"), "\x8E\xE0");
  EXPECT_EQ(EucToSjis("\x8E\xB1\x8E\xE0"), "\xB1\x8E\xE0");
}

TEST(JisConvert, APieceOfALargerBufferIsReadOnlyToItsEnd) {
  // Cut anywhere, a view must convert as a copy of the same bytes does: the byte after
  // its end (which a copy has as a terminating zero) may complete a pair or a mark.
  const std::string buffers[] = {
      "\x1B$B\x30\x21\x30\x21\x1B(Ba",           // JIS pairs
      "\x88\x9F\xB6\xDE\xCA\xDF\x82\xA0" "a",  // Shift_JIS pairs and marks
      "\xB0\xA1\x8E\xB6\x8E\xDE\xA4\xA2" "a",  // EUC pairs and kana with marks
  };
  std::string (*const converters[])(std::string_view) = {JisToSjis, JisToEuc, SjisToJis,
                                                          SjisToEuc, EucToSjis, EucToJis};
  for (const std::string& buffer : buffers) {
    for (size_t n = 0; n < buffer.size(); ++n) {
      const std::string_view view(buffer.data(), n);
      const std::string copy(view);
      for (size_t c = 0; c < std::size(converters); ++c) {
        EXPECT_EQ(converters[c](view), converters[c](copy)) << "converter " << c << ", first " << n;
      }
    }
  }
}

TEST(JisConvert, PairArithmetic) {
  const struct {
    BytePair jis, sjis;
  } rows[] = {{{0x30, 0x21}, {0x88, 0x9F}}, {{0x21, 0x21}, {0x81, 0x40}}, {{0x24, 0x22}, {0x82, 0xA0}},
              {{0x5E, 0x7E}, {0x9F, 0xFC}}, {{0x5F, 0x21}, {0xE0, 0x40}}, {{0x74, 0x26}, {0xEA, 0xA4}},
              {{0x2D, 0x21}, {0x87, 0x40}}, {{0x21, 0x60}, {0x81, 0x80}}};
  for (const auto& row : rows) {
    EXPECT_EQ(JisPairToSjis(row.jis[0], row.jis[1]), row.sjis);
    EXPECT_EQ(SjisPairToJis(row.sjis[0], row.sjis[1]), row.jis);
  }
}

TEST(JisConvert, WholeTextsFollowThePairArithmeticForEveryPair) {
  // The conversions go through tables and runs; every pair must still come out as the
  // arithmetic says, the user-defined area (leads 0xF0-0xFC) included.
  for (int a = 0x81; a <= 0xFC; ++a) {
    for (int b = 0x40; b <= 0xFC; ++b) {
      const auto s1 = static_cast<unsigned char>(a), s2 = static_cast<unsigned char>(b);
      if ((a >= 0xA0 && a <= 0xDF) || b == 0x7F) continue;
      const BytePair j = SjisPairToJis(s1, s2);
      const std::string sjis{static_cast<char>(s1), static_cast<char>(s2)};
      ASSERT_EQ(SjisToEuc(sjis), (std::string{static_cast<char>(j[0] | 0x80), static_cast<char>(j[1] | 0x80)}));
      ASSERT_EQ(SjisToJis(sjis), (std::string{"\x1B$B"} + static_cast<char>(j[0]) + static_cast<char>(j[1])));
    }
  }
  for (int a = 0xA1; a <= 0xFE; ++a) {
    for (int b = 0xA1; b <= 0xFE; ++b) {
      const BytePair s = JisPairToSjis(static_cast<unsigned char>(a & 0x7F), static_cast<unsigned char>(b & 0x7F));
      const std::string euc{static_cast<char>(a), static_cast<char>(b)};
      ASSERT_EQ(EucToSjis(euc), (std::string{static_cast<char>(s[0]), static_cast<char>(s[1])}));
      ASSERT_EQ(JisToSjis("\x1B$B" + std::string{static_cast<char>(a & 0x7F), static_cast<char>(b & 0x7F)}),
                EucToSjis(euc));
    }
  }
}

TEST(JisConvert, KanaHelpersReportWhatTheyConsumed) {
  EXPECT_EQ(SjisKanaToJis("\xB6\xDE", 0).consumed, 2u);
  EXPECT_EQ(SjisKanaToJis("\xB1\xDE", 0).consumed, 1u);
  EXPECT_EQ(SjisKanaToJis("\xCA", 0).consumed, 1u);
  EXPECT_EQ(SjisKanaToJis("a", 0).consumed, 0u);
  EXPECT_EQ(SjisKanaToJis("\xCA", 1).consumed, 0u);
  EXPECT_EQ(EucKanaToJis("\x8E\xCA\x8E\xDF", 0).consumed, 4u);
  EXPECT_EQ((EucKanaToJis("\x8E\xCA\x8E\xDF", 0).jis), (BytePair{0x25, 0x51}));
  EXPECT_EQ(EucKanaToJis("\x8E\xCA\x8E", 0).consumed, 2u);
  EXPECT_EQ(EucKanaToJis("\x8E", 0).consumed, 0u);
}

}  // namespace
}  // namespace haruvi::encoding
