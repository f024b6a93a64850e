// EUC-JP and ISO-2022-JP texts in the pane: which texts are shown decoded, an ISO-2022-JP
// text's pane form gives its bytes back exactly (or is not taken), and what the pane's
// codec, the save conversions and the commands' Shift_JIS view make of both.
#include "encoding/japanese_form.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "encoding/jis_convert.h"
#include "encoding/pane_codec.h"
#include "encoding/unicode_convert.h"
#include "encoding/utf8_standins.h"

namespace haruvi::encoding {
namespace {

// "日本語メール" + half-width "ｱｲ" + 丂 (JIS X 0212), each line ending in ASCII.
const std::string kJisMail =
    "Subject: test\r\n"
    "\x1B$BF|K\\8l%a!<%k\x1B(B abc\r\n"
    "\x1B(I12\x1B(B\r\n"
    "\x1B$(D0!\x1B(B\r\n"
    "\x1B&@\x1B$B4A\x1B(J!\r\n";

TEST(JapaneseForm, AJisMailIsHeldAsEucAndWrittenBackByteForByte) {
  const auto pane = JisToPaneEuc(kJisMail);
  ASSERT_TRUE(pane.has_value());
  EXPECT_NE(*pane, kJisMail);
  EXPECT_EQ(PaneEucToJis(*pane), kJisMail);
  // The pane shows the characters; each escape is one unit of its own.
  const PaneCodec& jis = PaneCodec::For(CodePage::Iso2022Jp);
  const std::u16string units = jis.Decode(*pane);
  EXPECT_EQ(jis.Encode(units), *pane);
  EXPECT_EQ(jis.PlainText(units),
            u"Subject: test\r\n日本語メール abc\r\n\uFF71\uFF72\r\n\u4E02\r\n漢!\r\n");
  size_t escapes = 0;
  for (char16_t u : units) escapes += PaneCodec::IsEscape(u);
  EXPECT_EQ(escapes, 9u);
  // An escape is one character to the caret: no offset inside it starts one.
  const std::string line = pane->substr(pane->find('\x1B'), 6);
  EXPECT_EQ(jis.CharLength(line), 3u);
  EXPECT_EQ(jis.CharStart(line, 2), 0u);
  EXPECT_EQ(jis.CharStart(line, 4), 3u);
}

TEST(JapaneseForm, EverySevenBitTextComesBackExactlyAndEightBitOnesStayAsTheyAre) {
  // Escapes (whole, cut, unknown), pairs, odd bytes in two-byte mode, line ends.
  const std::string pieces[] = {"\x1B$B", "\x1B(B", "\x1B(J", "\x1B(I", "\x1B$(D", "\x1B&@", "\x1B$@", "\x1B$",
                                "\x1B",   "!",      "~",      "0!",     "F|",     "\r\n",   " ",       "_`"};
  std::mt19937 rng(35);
  std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> count(0, 60);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int i = count(rng); i > 0; --i) text += pieces[pick(rng)];
    const auto pane = JisToPaneEuc(text);
    ASSERT_TRUE(pane.has_value()) << text;
    ASSERT_EQ(PaneEucToJis(*pane), text);
    const PaneCodec& jis = PaneCodec::For(CodePage::Iso2022Jp);
    ASSERT_EQ(jis.Encode(jis.Decode(*pane)), *pane);
    // A byte 0x80-0xFF has no place in it: such a file is shown as its bytes.
    EXPECT_FALSE(JisToPaneEuc(text + "\xA4\xA2").has_value());
  }
}

TEST(JapaneseForm, KanjiTypedIntoTheAsciiPartGetsItsOwnEscapes) {
  const std::string typed = "abc" + PaneCodec::For(CodePage::EucJp).Encode(u"漢ｱ") + "d\r\n";
  EXPECT_EQ(PaneEucToJis(typed), "abc\x1B$B4A\x1B(I1\x1B(Bd\r\n");
  // Typed inside a two-byte run, it joins the run.
  EXPECT_EQ(PaneEucToJis("\x1B$B" + PaneCodec::For(CodePage::EucJp).Encode(u"漢字") + "\x1B(B"),
            "\x1B$B4A;z\x1B(B");
}

TEST(JapaneseForm, EachDetectedCodeGetsTheFormThatShowsIt) {
  const std::string euc = "\xA4\xA2\xA4\xA4 \x8E\xB1\r\n";   // あい ｱ
  const std::string sjis = "\x82\xA0\x82\xA2\r\n";           // あい in Shift_JIS
  EXPECT_EQ(JapaneseFormOf(euc, ccEuc), TextForm::EucJp);
  EXPECT_EQ(JapaneseFormOf(euc, ccEucOrSjis), TextForm::EucJp);  // it reads as EUC throughout
  EXPECT_EQ(JapaneseFormOf(sjis, ccEucOrSjis), TextForm::Legacy);
  EXPECT_EQ(JapaneseFormOf(sjis, ccSjis), TextForm::Legacy);
  EXPECT_EQ(JapaneseFormOf(kJisMail, ccJis83), TextForm::Jis);
  EXPECT_EQ(JapaneseFormOf(kJisMail + "\x82\xA0", ccJis83), TextForm::Legacy);
  EXPECT_EQ(JapaneseFormOf("abc", ccAscii), TextForm::Legacy);
  EXPECT_FALSE(IsUnicode(TextForm::EucJp));
  EXPECT_FALSE(IsUnicode(TextForm::Jis));
}

TEST(JapaneseForm, SavingConvertsFromTheShownCharactersAndKeepsTheOwnFormExact) {
  const std::string euc = "\xC6\xFC\xCB\xDC \x8E\xB1\x8F\xB0\xA1\r\n";  // 日本 ｱ丂
  size_t missing = 9;
  EXPECT_EQ(ConvertPaneForm(euc, TextForm::EucJp, TextForm::Utf8, &missing),
            "\xE6\x97\xA5\xE6\x9C\xAC \xEF\xBD\xB1\xE4\xB8\x82\r\n");
  EXPECT_EQ(missing, 0u);
  EXPECT_EQ(ConvertPaneForm(euc, TextForm::EucJp, TextForm::Legacy, &missing), "\x93\xFA\x96\x7B \xB1\x81\xAC\r\n");
  EXPECT_EQ(missing, 1u);  // 丂 has no Shift_JIS code
  EXPECT_EQ(ConvertPaneForm(euc, TextForm::EucJp, TextForm::EucJp, &missing), euc);
  const std::string pane = *JisToPaneEuc(kJisMail);
  EXPECT_EQ(ConvertPaneForm(pane, TextForm::Jis, TextForm::Jis, &missing), kJisMail);
  EXPECT_EQ(missing, 0u);
}

TEST(JapaneseForm, CommandsReadAnEucTextInShiftJisAndGiveItBackInEuc) {
  const std::string euc = "\xC6\xFC\xCB\xDC abc\r\n";
  SjisView view(euc, TextForm::EucJp);
  ASSERT_TRUE(view.Converted());
  EXPECT_EQ(view.Text(), "\x93\xFA\x96\x7B abc\r\n");
  EXPECT_EQ(view.ToCommand("\xCB\xDC"), "\x96\x7B");
  EXPECT_EQ(view.ToPane("\x96\x7B"), "\xCB\xDC");
  // A text whose Shift_JIS form would not come back (JIS X 0212) is read as it is.
  const std::string supplementary = "\x8F\xB0\xA1\r\n";
  SjisView as_is(supplementary, TextForm::EucJp);
  EXPECT_FALSE(as_is.Converted());
  EXPECT_EQ(as_is.Text(), supplementary);
}

}  // namespace
}  // namespace haruvi::encoding
