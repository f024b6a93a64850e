// Conversions to and from UTF-8 and UTF-16: CP932 exactly as the system converter maps
// it, nothing the target lacks dropped without being counted, pieces joining to the whole
// text's result, and the pane's UTF-16 form giving back every byte.
#include "encoding/unicode_convert.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <random>
#include <string>

#include "encoding/jis_convert.h"
#include "encoding/utf8.h"

namespace haruvi::encoding {
namespace {

// The system converter on one short input; nullopt when it refuses any of it.
std::optional<std::string> Iconv(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  const size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || src_left != 0) return std::nullopt;
  out.resize(out.size() - dst_left);
  return out;
}

TEST(SjisToUtf8, EveryCodeAsTheSystemConverterMapsIt) {
  size_t checked = 0;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    size_t missing = 9;
    const std::string got = SjisToUtf8(one, &missing);
    if (auto want = Iconv("UTF-8", "CP932", one)) {
      ASSERT_EQ(got, *want) << b;
      ASSERT_EQ(missing, 0u);
    } else {  // no character (or a lead byte at the end): the substitute, counted
      ASSERT_EQ(got, kUtf8Substitute) << b;
      ASSERT_EQ(missing, 1u);
    }
    for (int c = 0x40; c < 256; ++c) {
      const std::string two{static_cast<char>(b), static_cast<char>(c)};
      auto want = Iconv("UTF-8", "CP932", two);
      if (!want || b < 0x81 || (b > 0x9F && b < 0xE0)) continue;  // not a double-byte code
      ASSERT_EQ(SjisToUtf8(two), *want) << std::hex << b << " " << c;
      ++checked;
    }
  }
  EXPECT_GT(checked, 9000u);  // JIS X 0208, NEC and IBM extensions and the user area
}

TEST(Utf8ToSjis, EveryBmpCharacterAsTheSystemConverterMapsIt) {
  size_t mapped = 0;
  for (char32_t cp = 1; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    std::string utf8;
    AppendUtf8(utf8, cp);
    size_t missing = 0;
    const std::string got = Utf8ToSjisCounted(utf8, &missing);
    if (auto want = Iconv("CP932", "UTF-8", utf8)) {
      ASSERT_EQ(got, *want) << std::hex << static_cast<unsigned>(cp);
      ASSERT_EQ(missing, 0u);
      ++mapped;
    } else {
      ASSERT_EQ(got, kSjisSubstitute) << std::hex << static_cast<unsigned>(cp);
      ASSERT_EQ(missing, 1u);
    }
  }
  EXPECT_GT(mapped, 7000u);
}

TEST(UnicodeConversions, CountWhatTheTargetCannotHoldAndKeepTheRest) {
  size_t missing = 0;
  EXPECT_EQ(Utf8ToSjisCounted("a\xF0\x9F\x98\x80" "b\xED\x95\x9C", &missing), "a\x81\xAC" "b\x81\xAC");  // 😀, 한
  EXPECT_EQ(missing, 2u);
  EXPECT_EQ(Utf8ToSjisCounted("x\xE3\x81", &missing), "x\x81\xAC");  // a cut last character
  EXPECT_EQ(missing, 1u);
  EXPECT_EQ(SjisToUtf8("\x82\xA0\x80\x88", &missing), "\xE3\x81\x82\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(missing, 2u);
  // Vendor characters go to the code points CP932 gives them and come back.
  EXPECT_EQ(SjisToUtf8("\x87\x40\xFA\x40\xED\x40"), "\xE2\x91\xA0\xE2\x85\xB0\xE7\xBA\x8A");  // ①ⅰ纊
  EXPECT_EQ(Utf8ToSjisCounted("\xE2\x91\xA0\xE7\xBA\x8A"), "\x87\x40\xFA\x5C");
}

TEST(UnicodeConversions, EucAndJisGoThroughTheSameTables) {
  const std::string sjis = "\x93\xFA\x96\x7B\x8C\xEA \xB1\xB2 abc\r\n";  // 日本語 ｱｲ abc
  const std::string utf8 = SjisToUtf8(sjis);
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kEucToUtf8, SjisToEuc(sjis)), utf8);
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf8ToEuc, utf8), SjisToEuc(sjis));
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf8ToJis, utf8), SjisToJis(sjis));
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kJisToUtf8, SjisToJis(sjis)), SjisToUtf8(JisToSjis(SjisToJis(sjis))));
}

TEST(UnicodeConversions, Utf16MarksAreAddedDroppedAndReadAsAsked) {
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf8ToUtf16, "a"), std::string("\xFF\xFE" "a\0", 4));
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf8ToUtf16, "\xEF\xBB\xBF" "a"), std::string("\xFF\xFE" "a\0", 4));
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf8ToUtf16Le, "\xEF\xBB\xBF" "a"), std::string("a\0", 2));
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf8ToUtf16Be, "\xF0\x9F\x98\x80"), std::string("\xD8\x3D\xDE\x00", 4));
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf16ToUtf8, "\xFE\xFF\x30\x42"), "\xE3\x81\x82");
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf16ToUtf8, std::string("a\0b\0", 4)), "ab");
  size_t missing = 0;
  EXPECT_EQ(ConvertUnicode(UnicodeOp::kUtf16ToUtf8, std::string("\xFF\xFE\x00\xD8" "a", 5), &missing),
            "\xEF\xBF\xBD\xEF\xBF\xBD");  // a lone surrogate and an odd last byte
  EXPECT_EQ(missing, 2u);
  EXPECT_EQ(*UnicodeOpNamed("utf82sjis"), UnicodeOp::kUtf8ToSjis);
  EXPECT_EQ(UnicodeOpName(UnicodeOp::kUtf16ToUtf8), "utf162utf8");
  EXPECT_FALSE(UnicodeOpNamed("utf8"));
}

// Feeds `text` through windows that grow by 1 to `step` bytes.
std::string InPieces(PieceConversion& conversion, std::string_view text, std::mt19937& rng, size_t step) {
  std::string out;
  size_t taken = 0, held = 0;
  for (;;) {
    held = std::min(text.size(), held + 1 + rng() % step);
    const bool last = held == text.size();
    taken += conversion.Convert(text.substr(taken, held - taken), last, out);
    if (last) {
      EXPECT_EQ(taken, text.size());
      return out;
    }
  }
}

TEST(UnicodeConversions, PiecesJoinToTheWholeTextsResult) {
  const std::string parts[] = {"\x88\x9F", "\x82\xA0", "\xB1", "a", "\r\n", "\xE3\x81\x82", "\xF0\x9F\x98\x80",
                               "\xC3\xA9", "\x80", "\xFF", "\x1B$B", "\x1B(B", "0!", "\xA4\xA2", "\x8E\xB1"};
  std::mt19937 rng(5);
  for (UnicodeOp op : {UnicodeOp::kSjisToUtf8, UnicodeOp::kUtf8ToSjis, UnicodeOp::kEucToUtf8, UnicodeOp::kUtf8ToEuc,
                       UnicodeOp::kJisToUtf8, UnicodeOp::kUtf8ToJis, UnicodeOp::kUtf8ToUtf16,
                       UnicodeOp::kUtf8ToUtf16Be, UnicodeOp::kUtf16ToUtf8}) {
    for (int round = 0; round < 60; ++round) {
      std::string text;
      while (text.size() < 1 + rng() % 700) text += parts[rng() % std::size(parts)];
      size_t whole_missing = 0, piece_missing = 0;
      const std::string whole = ConvertUnicode(op, text, &whole_missing);
      auto conversion = MakeUnicodeConversion(op, &piece_missing);
      ASSERT_EQ(InPieces(*conversion, text, rng, 1 + round % 9), whole) << UnicodeOpName(op) << " " << round;
      ASSERT_EQ(piece_missing, whole_missing) << UnicodeOpName(op);
    }
  }
}

// A piece that is not the last holds back only a character cut off by its end: a stray
// byte or a malformed sequence inside it is converted at once, or a text with one early
// stray byte would be held whole until its end.
TEST(UnicodeConversions, AMiddlePieceHoldsBackOnlyACutCharacter) {
  const struct {
    UnicodeOp op;
    std::string piece;
    size_t cut;  // bytes of the cut character at the end
  } rows[] = {
      {UnicodeOp::kUtf8ToUtf16, "a\x80" "b\xE3\x81", 2},
      {UnicodeOp::kUtf8ToUtf16Le, "a\xC0\xAF" "b\xF0\x9F\x98", 3},
      {UnicodeOp::kUtf8ToUtf16Be, "a\xED\xA0\x80" "b\xC3", 1},
      {UnicodeOp::kUtf8ToUtf16Be, "a\xE3\x81" "b\xE3", 1},  // cut inside, not at the end
      {UnicodeOp::kUtf8ToSjis, "a\xFF" "b\xE3\x81", 2},
      {UnicodeOp::kUtf8ToSjis, "a\xE3\x81" "b\xC3", 1},
      {UnicodeOp::kUtf8ToSjis, "a\xF4\x90\x80\x80" "b", 0},
      {UnicodeOp::kSjisToUtf8, "a\x80" "b\x88", 1},
      {UnicodeOp::kSjisToUtf8, "a\x88!b\x82\xA0", 0},  // a lead byte with no trail
  };
  for (const auto& row : rows) {
    const std::string_view whole = std::string_view(row.piece).substr(0, row.piece.size() - row.cut);
    size_t piece_missing = 0, whole_missing = 0;
    std::string out;
    EXPECT_EQ(MakeUnicodeConversion(row.op, &piece_missing)->Convert(row.piece, false, out), whole.size())
        << UnicodeOpName(row.op) << " " << row.piece;
    EXPECT_EQ(out, ConvertUnicode(row.op, whole, &whole_missing)) << UnicodeOpName(row.op) << " " << row.piece;
    EXPECT_EQ(piece_missing, whole_missing) << UnicodeOpName(row.op);
    EXPECT_GT(piece_missing, 0u) << UnicodeOpName(row.op);
  }
}

TEST(PaneUtf16Form, EveryByteStringComesBackExactly) {
  std::mt19937 rng(11);
  for (bool little : {true, false}) {
    for (int round = 0; round < 3000; ++round) {
      std::string bytes(rng() % 64, '\0');
      // Mostly surrogates and ASCII, so unpaired and reversed halves are common.
      for (char& c : bytes) c = static_cast<char>(rng() % 3 == 0 ? 0xD8 + rng() % 8 : rng() % 256);
      ASSERT_EQ(PaneUtf8ToUtf16(Utf16ToPaneUtf8(bytes, little), little), bytes) << round;
    }
  }
  // Valid UTF-16 becomes plain UTF-8.
  EXPECT_EQ(Utf16ToPaneUtf8(std::string("\xFF\xFE" "B0", 4), true), "\xEF\xBB\xBF\xE3\x81\x82");
}

}  // namespace
}  // namespace haruvi::encoding
