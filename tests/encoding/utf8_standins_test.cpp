// UTF-8 text through Shift_JIS commands: every character comes back exactly, those without
// a CP932 code (and stray bytes) as whole two-byte codes nothing else in the text uses.
#include "encoding/utf8_standins.h"

#include <gtest/gtest.h>

#include <random>

#include "encoding/utf8.h"

namespace haruvi::encoding {
namespace {

TEST(Utf8StandIns, EveryTextComesBackExactly) {
  // CP932 characters, characters outside it, user-area characters that compete with the
  // stand-ins for their codes, a duplicate-coded character, and stray bytes.
  const std::string parts[] = {"a", "\r\n", "\xE6\x97\xA5", "\xEF\xBD\xB1", "\xF0\x9F\x98\x80", "\xED\x95\x9C",
                               "e\xCC\x81", "\xEE\x80\x80", "\xEE\x80\x81", "\xEE\x9D\x97", "\xE2\x89\x92",
                               "\xE3\x80\x9C", "\xFF", "\x80", "\xE3\x81"};
  std::mt19937 rng(3);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int k = rng() % 40; k > 0; --k) text += parts[rng() % std::size(parts)];
    Utf8StandIns s;
    const auto sjis = s.ToSjis(text);
    ASSERT_TRUE(sjis);
    ASSERT_EQ(s.ToUtf8(*sjis), text) << round;
  }
}

TEST(Utf8StandIns, CharactersWithACodeKeepItAndTheOthersGetUnusedUserAreaCodes) {
  Utf8StandIns s;
  // 日 has its code; 😀 gets the first user-area code, since U+E000 (F040) comes later it
  // takes the next; ｱ stays one byte.
  EXPECT_EQ(*s.ToSjis("\xE6\x97\xA5\xF0\x9F\x98\x80\xEE\x80\x80\xEF\xBD\xB1"), "\x93\xFA\xF0\x40\xF0\x41\xB1");
  // A later answer uses the same stand-ins.
  EXPECT_EQ(*s.ToSjis("\xF0\x9F\x98\x80"), "\xF0\x40");
  EXPECT_EQ(s.StandInCount(), 2u);
  // A user-area character seen first keeps its code, and the stand-ins go round it.
  Utf8StandIns t;
  EXPECT_EQ(*t.ToSjis("\xEE\x80\x80\xF0\x9F\x98\x80"), "\xF0\x40\xF0\x41");
}

TEST(Utf8StandIns, TooManyCharactersWithoutACodeAreRefused) {
  std::string text;
  for (char32_t cp = 0xAC00; cp < 0xAC00 + 1881; ++cp) AppendUtf8(text, cp);  // Hangul syllables
  Utf8StandIns s;
  EXPECT_FALSE(s.ToSjis(text));
  std::string fewer;
  for (char32_t cp = 0xAC00; cp < 0xAC00 + 1880; ++cp) AppendUtf8(fewer, cp);
  Utf8StandIns t;
  const auto sjis = t.ToSjis(fewer);
  ASSERT_TRUE(sjis);
  EXPECT_EQ(t.ToUtf8(*sjis), fewer);
}

TEST(SjisView, LegacyTextIsReadInPlaceAndEverythingPassesAsItIs) {
  const std::string text = "\x93\xFA\x96\x7B\r\n\xF0\x40";
  SjisView view(text, TextForm::Legacy);
  EXPECT_FALSE(view.Refused());
  EXPECT_FALSE(view.Converted());
  EXPECT_EQ(view.Text().data(), text.data());
  EXPECT_EQ(view.Text().size(), text.size());
  EXPECT_EQ(*view.ToCommand("\xF0\x40"), "\xF0\x40");
  EXPECT_EQ(view.ToPane("\x82\xA0\xF0\x40"), "\x82\xA0\xF0\x40");
}

TEST(SjisView, UnicodeTextAnswersAndResultShareOneTable) {
  // 日😀 in both Unicode forms the pane holds as UTF-8.
  for (TextForm form : {TextForm::Utf8, TextForm::Utf8Bom, TextForm::Utf16Le, TextForm::Utf16Be}) {
    const std::string text = "\xE6\x97\xA5\xF0\x9F\x98\x80";
    SjisView view(text, form);
    ASSERT_FALSE(view.Refused());
    EXPECT_TRUE(view.Converted());
    EXPECT_EQ(view.Text(), "\x93\xFA\xF0\x40");
    // An answer reuses the text's stand-in and adds one for a character the text lacks.
    EXPECT_EQ(*view.ToCommand("\xF0\x9F\x98\x80"), "\xF0\x40");
    EXPECT_EQ(*view.ToCommand("\xED\x95\x9C"), "\xF0\x41");
    // A command's result (here the text reversed, plus the answer) comes back in UTF-8.
    EXPECT_EQ(view.ToPane("\xF0\x40\x93\xFA\xF0\x41"), "\xF0\x9F\x98\x80\xE6\x97\xA5\xED\x95\x9C");
  }
}

TEST(SjisView, TooVariedUnicodeTextIsRefusedAndLeavesNothingToRead) {
  std::string text;
  for (char32_t cp = 0xAC00; cp < 0xAC00 + 1881; ++cp) AppendUtf8(text, cp);
  SjisView view(text, TextForm::Utf8);
  EXPECT_TRUE(view.Refused());
  EXPECT_FALSE(view.Converted());
  EXPECT_TRUE(view.Text().empty());
  // The same text as legacy bytes is nothing to refuse.
  EXPECT_FALSE(SjisView(text, TextForm::Legacy).Refused());
  // Answers can exhaust the stand-ins too, after a text that did not.
  std::string fewer;
  for (char32_t cp = 0xAC00; cp < 0xAC00 + 1880; ++cp) AppendUtf8(fewer, cp);
  SjisView full(fewer, TextForm::Utf8);
  ASSERT_FALSE(full.Refused());
  EXPECT_FALSE(full.ToCommand("\xF0\x9F\x98\x80"));
}

}  // namespace
}  // namespace haruvi::encoding
