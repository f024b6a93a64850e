// The pane codec hands back exactly the bytes it was given, in every code page, and shows
// duplicates and undecodable bytes in their documented forms.
#include "encoding/pane_codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <thread>
#include <vector>

namespace haruvi::encoding {
namespace {

const PaneCodec& Cp932() { return PaneCodec::For(CodePage::Cp932); }

class EveryCodePage : public ::testing::TestWithParam<int> {
 protected:
  const PaneCodec& codec() const { return PaneCodec::For(static_cast<CodePage>(GetParam())); }
};

TEST_P(EveryCodePage, EveryTwoByteSequenceRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    for (int c = 0; c < 256; ++c) {
      const std::string bytes{static_cast<char>(b), static_cast<char>(c)};
      size_t missing = 99;
      ASSERT_EQ(codec().Encode(codec().Decode(bytes), &missing), bytes) << b << " " << c;
      ASSERT_EQ(missing, 0u);
    }
  }
}

TEST_P(EveryCodePage, RandomByteStringsRoundTrip) {
  std::mt19937 rng(4242 + GetParam());
  std::uniform_int_distribution<int> len(0, 400), byte(0, 255), high(0x80, 0xFF), pick(0, 3);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(static_cast<size_t>(len(rng)), '\0');
    for (char& ch : bytes) ch = static_cast<char>(pick(rng) == 0 ? byte(rng) : high(rng));
    ASSERT_EQ(codec().Encode(codec().Decode(bytes)), bytes);
  }
}

TEST_P(EveryCodePage, CharLengthAgreesWithDecoding) {
  // Decoding the first character alone yields the first units of decoding the whole.
  std::mt19937 rng(7 + GetParam());
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 2000; ++round) {
    const std::string bytes{static_cast<char>(byte(rng)), static_cast<char>(byte(rng)), 'a'};
    const size_t len = codec().CharLength(bytes);
    ASSERT_TRUE(len == 1 || len == 2);
    const std::u16string first = codec().Decode(std::string_view(bytes).substr(0, len));
    const std::u16string rest = codec().Decode(std::string_view(bytes).substr(len));
    ASSERT_EQ(first + rest, codec().Decode(bytes));
  }
  EXPECT_EQ(codec().CharLength(""), 0u);
}

TEST_P(EveryCodePage, CharStartFindsTheCharacterAWalkFromTheStartFinds) {
  // Mostly bytes that lead or trail two-byte characters and UTF-8 sequences, so runs of
  // them are long; every offset's character start is what decoding from 0 gives.
  std::mt19937 rng(11 + GetParam());
  std::uniform_int_distribution<int> high(0x80, 0xFF), any(0, 255);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    for (int i = 0; i < 64; ++i) bytes += static_cast<char>(rng() % 8 ? high(rng) : any(rng));
    std::vector<size_t> start_of(bytes.size() + 1);
    for (size_t at = 0; at < bytes.size();) {
      const size_t n = codec().CharLength(std::string_view(bytes).substr(at));
      for (size_t k = 0; k < n; ++k) start_of[at + k] = at;
      at += n;
    }
    start_of[bytes.size()] = bytes.size();
    for (size_t at = 0; at <= bytes.size(); ++at) ASSERT_EQ(codec().CharStart(bytes, at), start_of[at]) << at;
  }
}

TEST(PaneCodecCp932, CharStartIsExactFarIntoALongRunOfLeadBytes) {
  // 亜 is 0x88 0x9F: both bytes can lead, so nothing near tells the pairs apart.
  std::string run;
  for (int i = 0; i < 5000; ++i) run += "\x88\x9F";
  EXPECT_EQ(Cp932().CharStart(run, 9001), 9000u);
  EXPECT_EQ(Cp932().CharStart(run, 9000), 9000u);
  EXPECT_EQ(Cp932().CharStart("a" + run, 9002), 9001u);
}

INSTANTIATE_TEST_SUITE_P(Pages, EveryCodePage, ::testing::Range(0, kCodePageCount),
                         [](const ::testing::TestParamInfo<int>& param_info) {
                           std::string name(CodePageName(static_cast<CodePage>(param_info.param)));
                           for (char& ch : name) if (ch == '-') ch = '_';
                           return name;
                         });

struct DecodeRow {
  const char* bytes;
  std::u16string units;
};

TEST(PaneCodecCp932, DecodesDuplicatesAsCharacterPlusSelector) {
  const DecodeRow rows[] = {
      {"\x81\xE0", u"\u2252"},        {"\x87\x90", u"\u2252\uFE00"},  // NEC row 13 ≒
      {"\xFA\x5C", u"\u7E8A"},        {"\xED\x40", u"\u7E8A\uFE00"},  // NEC-selected IBM 纊
      {"\xFA\x40", u"\u2170"},        {"\xEE\xEF", u"\u2170\uFE00"},  // small roman one
      {"\x81\xCA", u"\uFFE2"},        {"\xEE\xF9", u"\uFFE2\uFE00"},  // ¬
      {"\x81\xE6", u"\u2235"},        {"\x87\x9A", u"\u2235\uFE00"}, {"\xFA\x5B", u"\u2235\uFE01"},
      {"\xF0\x40", u"\uE000"},        {"\xF9\xFC", u"\uE757"},        // user-defined area
      {"\x88\x9F", u"\u4E9C"},        {"\xB1", u"\uFF71"},            {"\\~", u"\\~"},
  };
  for (const auto& row : rows) EXPECT_EQ(Cp932().Decode(row.bytes), row.units) << row.bytes;
}

TEST(PaneCodecCp932, UndecodableBytesBecomeRawUnitsWithoutSwallowingTheNext) {
  const DecodeRow rows[] = {
      {"\x80", u"\xDC80"},       {"\xA0", u"\xDCA0"},           {"\xFD\xFE\xFF", u"\xDCFD\xDCFE\xDCFF"},
      {"\x81 a", u"\xDC81 a"},   {"\x88", u"\xDC88"},           {"\x81\x7F", u"\xDC81\x7F"},
      {"\x85\x40\x88\x9F", u"\xDC85@\u4E9C"},
  };
  for (const auto& row : rows) {
    const std::u16string units = Cp932().Decode(row.bytes);
    EXPECT_EQ(units, row.units) << row.bytes;
    EXPECT_TRUE(Cp932().IsRawByte(units[0]));
  }
  EXPECT_FALSE(Cp932().IsRawByte(u'\uE000'));
  EXPECT_FALSE(Cp932().IsRawByte(u'a'));
}

// The tables ask the system converter only about pairs in Shift_JIS's lead and trail
// ranges: no pair outside them may be a character of CP932 of its own.
TEST(PaneCodecCp932, NoPairOutsideTheShiftJisRangesIsOneCharacter) {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  auto lead = [](int b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); };
  auto trail = [](int c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; };
  for (int b = 0x80; b < 256; ++b) {
    for (int c = 0; c < 256; ++c) {
      if (lead(b) && trail(c)) continue;
      char in[2] = {static_cast<char>(b), static_cast<char>(c)};
      char out[16];
      char* ip = in;
      char* op = out;
      size_t il = 2, ol = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      const bool ok = iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1) && il == 0;
      EXPECT_FALSE(ok && op - out == 2) << std::hex << b << " " << c;
      // And the pane shows it as no character of two bytes.
      EXPECT_NE(Cp932().CharLength(std::string_view(in, 2)), 2u) << std::hex << b << " " << c;
    }
  }
  iconv_close(cd);
}

TEST(PaneCodecCp932, CharLengthNeverPassesTheEnd) {
  EXPECT_EQ(Cp932().CharLength("\x88\x9F"), 2u);
  EXPECT_EQ(Cp932().CharLength("\x88"), 1u);
  EXPECT_EQ(Cp932().CharLength("\x88 "), 1u);
  EXPECT_EQ(Cp932().CharLength("\xB1\xB1"), 1u);
}

TEST(PaneCodecEncode, CountsAndSubstitutesCharactersOutsideThePage) {
  struct Row {
    CodePage page;
    std::u16string text;
    std::string bytes;
    size_t missing;
  } rows[] = {
      {CodePage::Cp932, u"a\u00E9b", "a\x81\xAC" "b", 1},                   // é
      {CodePage::Cp932, u"\U0001F600\u3042", "\x81\xAC\x82\xA0", 1},       // surrogate pair
      {CodePage::Cp932, u"\xD83D!", "\x81\xAC!", 1},                        // lone high surrogate
      {CodePage::Cp932, u"\uFE00\u3042\uFE03", "\x82\xA0", 2},              // stray selectors dropped
      {CodePage::Cp932, u"\u2252", "\x81\xE0", 0},
      {CodePage::Windows1252, u"\u20AC\u3042", "\x80?", 1},
      {CodePage::Cp437, u"\u20AC", "?", 1},
  };
  for (const auto& row : rows) {
    size_t missing = 99;
    EXPECT_EQ(PaneCodec::For(row.page).Encode(row.text, &missing), row.bytes);
    EXPECT_EQ(missing, row.missing);
  }
}

// Every unit from U+DC00 (byte 0x00) to U+DCFF (byte 0xFF) is written as its byte, in a
// code page and in UTF-8 alike, even where Decode() would never make it; the units just
// outside are lone surrogates, written as the substitute and counted.
TEST(PaneCodecEncode, EveryRawByteUnitWritesItsByteAndItsNeighboursAreSurrogates) {
  for (const CodePage page : {CodePage::Cp932, CodePage::Windows1252, CodePage::Utf8}) {
    const PaneCodec& codec = PaneCodec::For(page);
    for (int b = 0; b < 256; ++b) {
      const char16_t unit = static_cast<char16_t>(PaneCodec::kRawByteBase + b);
      const std::u16string text = {u'a', unit, u'b'};
      const std::string bytes = {'a', static_cast<char>(b), 'b'};
      size_t missing = 99;
      ASSERT_EQ(codec.Encode(text, &missing), bytes) << CodePageName(page) << " " << b;
      ASSERT_EQ(missing, 0u);
      ASSERT_TRUE(codec.IsRawByte(unit));
      ASSERT_EQ(PaneCodec::RawByteValue(unit), b);
    }
    const std::string substitute = page == CodePage::Cp932 ? "\x81\xAC" : page == CodePage::Utf8 ? "\xEF\xBF\xBD" : "?";
    for (const char16_t unit : {u'\xDBFF', u'\xDD00'}) {
      size_t missing = 0;
      EXPECT_EQ(codec.Encode(std::u16string{u'a', unit}, &missing), "a" + substitute) << CodePageName(page);
      EXPECT_EQ(missing, 1u);
      EXPECT_FALSE(codec.IsRawByte(unit));
    }
    // A high surrogate before U+DC00 makes a pair (U+10000), not a raw byte.
    const std::string pair = page == CodePage::Utf8 ? "\xF0\x90\x80\x80" : substitute;
    EXPECT_EQ(codec.Encode(u"\xD800\xDC00"), pair) << CodePageName(page);
  }
}

TEST(PaneCodecPages, FontCharsetsChooseTheirCodePages) {
  const std::pair<int, CodePage> rows[] = {
      {128, CodePage::Cp932},      {0, CodePage::Windows1252},  {129, CodePage::Cp949},
      {134, CodePage::Gbk},        {136, CodePage::Big5},       {238, CodePage::Windows1250},
      {204, CodePage::Windows1251}, {161, CodePage::Windows1253}, {162, CodePage::Windows1254},
      {177, CodePage::Windows1255}, {178, CodePage::Windows1256}, {186, CodePage::Windows1257},
      {163, CodePage::Windows1258}, {222, CodePage::Cp874},     {77, CodePage::MacRoman},
      {255, CodePage::Cp932},      {1, CodePage::Cp932},        {2, CodePage::Windows1252},
      {130, CodePage::Windows1252},
  };
  for (auto [charset, page] : rows) EXPECT_EQ(CodePageForCharset(charset), page) << charset;
}

TEST(PaneCodecPages, OtherPagesDecodeTheirOwnCharacters) {
  EXPECT_EQ(PaneCodec::For(CodePage::Cp949).Decode("\xB0\xA1"), u"\uAC00");
  EXPECT_EQ(PaneCodec::For(CodePage::Gbk).Decode("\xC4\xE3"), u"\u4F60");
  EXPECT_EQ(PaneCodec::For(CodePage::Big5).Decode("\xA4\x40"), u"\u4E00");
  EXPECT_EQ(PaneCodec::For(CodePage::Windows1251).Decode("\xC0"), u"\u0410");
  EXPECT_EQ(PaneCodec::For(CodePage::MacRoman).Decode("\x80"), u"\u00C4");
  EXPECT_EQ(PaneCodec::For(CodePage::Windows1252).Decode("\x81"), u"\xDC81");
}

TEST(PaneCodecPages, ConcurrentFirstUseBuildsOneCodec) {
  std::vector<const PaneCodec*> seen(4);
  std::vector<std::thread> threads;
  for (size_t k = 0; k < seen.size(); ++k)
    threads.emplace_back([&seen, k] { seen[k] = &PaneCodec::For(CodePage::Windows1257); });
  for (auto& th : threads) th.join();
  for (const auto* p : seen) EXPECT_EQ(p, seen[0]);
}

}  // namespace
}  // namespace haruvi::encoding
