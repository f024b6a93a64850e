// Unicode form detection: the vector validator agrees with the one-sequence-at-a-time
// rule on any bytes, the forms are named by their evidence, and no Japanese-code text is
// named differently than the Japanese detector names it.
#include "encoding/text_form.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "encoding/utf8.h"
#include "encoding/utf8_scan.h"

namespace haruvi::encoding {
namespace {

std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// The rule, one sequence at a time; a cut tail only when it is a well-formed prefix.
Utf8Scan Reference(std::string_view s) {
  Utf8Scan r;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    r.multibyte = true;
    if (const std::size_t n = Utf8SequenceAt(s, i)) {
      (n >= 3 ? r.leads34 : r.leads2) += 1;
      i += n;
      continue;
    }
    // A prefix of a longer text that is well-formed at this point is a cut tail.
    bool cut = false;
    for (const char* tail : {"\x80", "\x80\x80", "\x80\x80\x80", "\xA0", "\xA0\x80", "\x90", "\x90\x80", "\x90\x80\x80"}) {
      std::string longer(s.substr(i));
      longer += tail;
      if (s.size() - i < 4 && Utf8SequenceAt(longer, 0) == longer.size()) cut = true;
    }
    if (cut) r.cut_tail = s.size() - i;
    else r.valid = false;
    return r;
  }
  return r;
}

void ExpectSame(std::string_view s, const char* what) {
  const Utf8Scan want = Reference(s);
  for (const Utf8Scan& got : {ScanUtf8(s), ScanUtf8Scalar(s)}) {
    ASSERT_EQ(got.valid, want.valid) << what << " size " << s.size();
    if (!want.valid) continue;
    ASSERT_EQ(got.multibyte, want.multibyte) << what;
    ASSERT_EQ(got.leads2, want.leads2) << what;
    ASSERT_EQ(got.leads34, want.leads34) << what;
    ASSERT_EQ(got.cut_tail, want.cut_tail) << what;
  }
}

TEST(ScanUtf8, AgreesWithTheRuleOnMostlyValidTextCutAnywhere) {
  // Valid characters of every length, with a stray byte now and then, shifted and cut so
  // that every sequence meets the 32-byte block edges and the end.
  const std::string parts[] = {"a",  " ",  "\r\n", "\xC3\xA9", "\xE3\x81\x82", "\xE6\xBC\xA2", "\xF0\x9F\x98\x80",
                               "\xEF\xBB\xBF", "\xED\x9F\xBF", "\xEE\x80\x80", "\xF4\x8F\xBF\xBF", Repeat("x", 40)};
  const std::string rare[] = {"\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE0\x9F\x80", "\xFF",
                              "\xC3", "\xE3\x81", "\xF5\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xC2\xC2"};
  std::mt19937 rng(20261207);
  for (int round = 0; round < 4000; ++round) {
    std::string text;
    const std::size_t target = rng() % 300;
    const bool clean = round % 3 != 0;
    while (text.size() < target)
      text += !clean && rng() % 40 == 0 ? rare[rng() % std::size(rare)] : parts[rng() % std::size(parts)];
    ExpectSame(text, "whole");
    ExpectSame(std::string_view(text).substr(0, text.size() - text.size() / 3), "cut");
    ExpectSame(" " + text, "shifted");
  }
}

TEST(ScanUtf8, AgreesWithTheRuleOnEveryPairAndTripleAtABlockEdge) {
  // Every two bytes after 31 and 62 ASCII bytes (the first block edge, and inside the
  // second block), and every second byte of the three-byte leads before a continuation.
  for (const std::size_t pad : {31u, 62u, 63u, 64u}) {
    for (int b = 0x80; b < 256; ++b) {
      for (int c = 0; c < 256; ++c) {
        std::string text(pad, 'a');
        text += static_cast<char>(b);
        text += static_cast<char>(c);
        ExpectSame(text, "pair");
        text += '\x80';
        ExpectSame(text, "pair + continuation");
        text += std::string(40, 'z');
        ExpectSame(text, "pair + continuation + text");
      }
    }
  }
}

TEST(ScanUtf8, AgreesWithTheRuleOnRandomBytes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text(rng() % 200, '\0');
    for (char& c : text) c = static_cast<char>(rng() % 4 == 0 ? rng() % 256 : 0x80 + rng() % 64);
    ExpectSame(text, "random");
  }
}

TEST(DetectTextForm, NamesEachFormByItsEvidence) {
  const struct {
    std::string bytes;
    TextForm form;
    const char* why;
  } rows[] = {
      {"\xEF\xBB\xBF", TextForm::Utf8Bom, "a mark with nothing after it"},
      {"\xEF\xBB\xBFplain", TextForm::Utf8Bom, "a mark before ASCII"},
      {"\xFF\xFE", TextForm::Utf16Le, "little-endian mark alone"},
      {"\xFE\xFF\x30\x42", TextForm::Utf16Be, "big-endian mark"},
      {"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n", TextForm::Utf8, "Japanese in UTF-8"},
      {"emoji \xF0\x9F\x98\x80 and e\xCC\x81", TextForm::Utf8, "four-byte sequence and a combining mark"},
      {Repeat("x", 100) + "\xE3\x81\x82\xE3\x81", TextForm::Utf8, "cut after a three-byte sequence"},
      {"caf\xC3\xA9", TextForm::Legacy, "two-byte sequences only: could be half-width kana"},
      {"\xE3\x81\x82" + Repeat("\xDF\xA1", 5), TextForm::Legacy, "more than four two-byte ones for each longer one"},
      {"\xE3\x81\x82" + Repeat("\xDF\xA1", 4), TextForm::Utf8, "four two-byte ones for one longer one"},
      {"abc\xE3", TextForm::Legacy, "a cut lead is no evidence"},
      {"\xC3\xBD\xC4", TextForm::Legacy, "kana pair then a cut lead: Shift_JIS ﾃｽﾄ"},
      {"\xE3\x81", TextForm::Legacy, "nothing but a cut sequence"},
      {"\x82\xA0\x82\xA2", TextForm::Legacy, "Shift_JIS hiragana"},
      {"\xA4\xA2\xA4\xA4", TextForm::Legacy, "EUC hiragana"},
      {"\x1B$B$\"\x1B(B", TextForm::Legacy, "JIS"},
      {"plain ASCII", TextForm::Legacy, "ASCII"},
      {"", TextForm::Legacy, "empty"},
      {std::string("a\0b\0c\0\r\0\n\0B0D0F0", 16), TextForm::Utf16Le, "unmarked little-endian: ASCII and あいう"},
      {std::string("\0a\0b\0c\0\r\0\n0B0D0F", 16), TextForm::Utf16Be, "unmarked big-endian"},
      {std::string("a\0b\0", 4), TextForm::Legacy, "two zero bytes on one side are too few units to tell"},
      {std::string("a\0bc", 4), TextForm::Legacy, "a single zero byte is no pattern"},
      {std::string("\x01\0\x02\0\x03\0", 6), TextForm::Legacy, "control units: binary"},
      {std::string("a\0b\0\0c", 6), TextForm::Legacy, "zero bytes on both sides as often"},
      {std::string("\0N\0Na\0b\0c\0d\0\r\0\n\0", 16), TextForm::Utf16Le, "一 has a zero byte on the other side"},
      {std::string("a\0\0\xDC", 4), TextForm::Legacy, "a lone low surrogate"},
  };
  for (const auto& row : rows) EXPECT_EQ(DetectTextForm(row.bytes), row.form) << row.why;
}

// Unmarked UTF-16 is named only when every unit is one a text holds: each control range
// is checked at both its edges, in both byte orders, inside otherwise plain ASCII text.
TEST(DetectTextForm, UnmarkedUtf16IsRefusedForAControlUnitOnEitherEdgeOfItsRange) {
  const struct {
    char16_t unit;
    bool text;
  } rows[] = {
      {0x0008, false}, {0x0009, true},  {0x000A, true},  {0x000B, false}, {0x000C, true},  {0x000D, true},
      {0x000E, false}, {0x001A, false}, {0x001B, true},  {0x001C, false}, {0x001F, false}, {0x0020, true},
      {0x007E, true},  {0x007F, false}, {0x0080, false}, {0x009F, false}, {0x00A0, true},  {0x00FF, true},
      {0xFFFD, true},  {0xFFFE, false}, {0xFFFF, false},
  };
  for (const bool little : {true, false}) {
    const auto units = [little](std::u16string_view text) {
      std::string bytes;
      for (const char16_t u : text) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        bytes += little ? std::string{lo, hi} : std::string{hi, lo};
      }
      return bytes;
    };
    const TextForm utf16 = little ? TextForm::Utf16Le : TextForm::Utf16Be;
    for (const auto& row : rows) {
      const std::u16string text = u"line one\r\n" + std::u16string(1, row.unit) + u" two";
      EXPECT_EQ(DetectTextForm(units(text)), row.text ? utf16 : TextForm::Legacy)
          << std::hex << static_cast<unsigned>(row.unit) << (little ? " LE" : " BE");
    }
  }
}

TEST(CodeNameOf, EndsTheInformationLineWithTheFormOrTheJapaneseCode) {
  EXPECT_EQ(CodeNameOf("\xE6\x97\xA5"), "UTF-8");
  EXPECT_EQ(CodeNameOf("\xEF\xBB\xBF"), "UTF-8(BOM)");
  EXPECT_EQ(CodeNameOf("\xFF\xFEx\0"), "UTF-16LE");
  EXPECT_EQ(CodeNameOf("\xFE\xFF\0x"), "UTF-16BE");
  EXPECT_EQ(CodeNameOf("\x82\xA0"), CharCodeName(ccSjis));
  EXPECT_EQ(CodeNameOf("abc"), "ASCII");
  EXPECT_EQ(TextFormName(TextForm::Legacy), "");
}

TEST(DetectTextForm, LeavesTheJapaneseDetectorsRandomTextsAlone) {
  // The byte soups the Japanese detector is checked on: ambiguous pairs, kana, escapes and
  // rare deciding bytes; not one of them may come out as a Unicode form.
  std::mt19937 rng(99);
  const std::string pieces[] = {"a", " ", "\r\n", "\xA4\xA2", "\xB1\xB2", "\xB1\xB2\xB3\xB4", "xy",
                                "\xDF\xA1", "\xE0\xA1", "\x8E\xB1", "\x1B(B", Repeat("\xA4\xA2", 40),
                                Repeat("\xB1\xDF", 77), "\x88\x9F", "\x82\xA0", "\xE0\x40", "\xEA\xA4"};
  const std::string rare[] = {"\xB1", "\x88\x9F", "\xF5", "\x1B$B", "\xFE", "\xB1\xE5", "\x80", "\xA0", "\x1B"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const std::size_t target = rng() % 3000;
    const unsigned rarity = rng() % 400 + 1;
    while (text.size() < target)
      text += rng() % 1000 < rarity / 4 ? rare[rng() % std::size(rare)] : pieces[rng() % std::size(pieces)];
    ASSERT_EQ(CodeNameOf(text), CharCodeName(DetectCharCode(text))) << round;
  }
}

// UTF-16 without a mark is told by what its units are, not by zero bytes: Japanese alone
// (no zero byte at all) is found in either order, while random bytes, however cut, and
// texts in the Japanese codes whose bytes happen to pair into ideographs never are.
TEST(DetectTextForm, UnmarkedUtf16IsToldByTheShareOfJapaneseAndAsciiUnits) {
  const std::u16string japanese = u"日本語の文章です。改行もなく、半角文字もありません。ｶﾀｶﾅ、全角ＡＢＣ。";
  for (const bool little : {true, false}) {
    std::string bytes;
    for (const char16_t u : japanese) {
      const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
      bytes += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    ASSERT_EQ(bytes.find('\0'), std::string::npos);
    EXPECT_EQ(DetectTextForm(bytes), little ? TextForm::Utf16Le : TextForm::Utf16Be);
  }
  std::mt19937 rng(1000);
  std::string random(1 << 20, '\0');
  for (char& c : random) c = static_cast<char>(rng());
  for (int cut = 0; cut < 1000; ++cut) {
    // Short pieces and long ones, starting anywhere (odd offsets too).
    const std::size_t from = rng() % (random.size() / 2);
    const std::size_t length = cut % 2 ? rng() % 64 : rng() % (random.size() / 2);
    ASSERT_FALSE(IsUtf16(DetectTextForm(std::string_view(random).substr(from, length)))) << from << "+" << length;
  }
  // Shift_JIS lead bytes read as the high half of a unit fall among the ideographs, and
  // lowercase ASCII pairs do too: neither has the zero, 0x30 or 0xFF bytes UTF-16 has.
  EXPECT_EQ(DetectTextForm(Repeat("\x93\xFA\x96\x7B\x8C\xEA\x82\xC5\x82\xB7", 40)), TextForm::Legacy);
  EXPECT_EQ(DetectTextForm(Repeat("lowercaseonlywords", 40)), TextForm::Legacy);
}

}  // namespace
}  // namespace haruvi::encoding
