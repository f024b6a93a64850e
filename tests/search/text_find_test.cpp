// The pane's byte search: down and up from a selection, whole words and case on Shift_JIS
// text, never a hit on a trail byte, the candidate resync over long lead-byte runs, and
// replace-everything counts that end even when the replacement holds the find text.
#include "search/text_find.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/sjis.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;

FindOptions Down(bool word = false, bool match_case = false) { return {true, word, match_case}; }
FindOptions Up(bool word = false, bool match_case = false) { return {false, word, match_case}; }

TEST(FindInText, DownStepsFromHitToHitAndUpFindsTheOneBefore) {
  const std::string t = "cat dog cat dog";
  EXPECT_EQ(FindInText("cat", t, Down(), 0, 0), 0u);  // caret 0: the first byte is a candidate
  EXPECT_EQ(FindInText("cat", t, Down(), 0, 3), 8u);  // after the selected hit
  EXPECT_EQ(FindInText("cat", t, Down(), 8, 3), std::nullopt);
  EXPECT_EQ(FindInText("cat", t, Up(), 8, 3), 0u);
  EXPECT_EQ(FindInText("cat", t, Up(), 0, 0), std::nullopt);  // nothing before offset 0
  EXPECT_EQ(FindInText("dog", t, Up(), t.size(), 0), 12u);
  // A hit going up may reach into the selection, as the candidate is its start.
  EXPECT_EQ(FindInText("cat", t, Up(), 9, 0), 8u);
  EXPECT_EQ(FindInText("", t, Down(), 0, 0), std::nullopt);
  EXPECT_EQ(FindInText("cat", "", Down(), 0, 0), std::nullopt);
  EXPECT_EQ(FindInText("cat", t, Down(), 99, 0), std::nullopt);  // a selection past the end
}

TEST(FindInText, CaseIsIgnoredForSingleByteLettersOnly) {
  const std::string t = "xx CAT Cat cat";
  EXPECT_EQ(FindInText("cat", t, Down(), 0, 0), 3u);
  EXPECT_EQ(FindInText("cat", t, Down(false, true), 0, 0), 11u);
  EXPECT_EQ(FindInText("cAt", t, Up(), t.size(), 0), 11u);
  EXPECT_EQ(FindInText("CAT", t, Up(false, true), t.size(), 0), 3u);
  // Full-width letters are two-byte characters: never folded.
  const std::string wide = S("ＡＢＣ ａｂｃ");
  EXPECT_EQ(FindInText(S("ａｂｃ"), wide, Down(), 0, 0), 7u);
  // A trail byte that is an ASCII letter is not folded either: "ア" is 83 41, "ャ" 83 61.
  EXPECT_EQ(FindInText(S("ア"), S("ャア"), Down(), 0, 0), 2u);
}

TEST(FindInText, WholeWordNeedsDelimitersOnBothSides) {
  const std::string t = "cats cat, concat cat";
  EXPECT_EQ(FindInText("cat", t, Down(true), 0, 0), 5u);   // not "cats"
  EXPECT_EQ(FindInText("cat", t, Down(true), 5, 3), 17u);  // not "concat"; at the very end
  EXPECT_EQ(FindInText("cat", "cat dog", Up(true), 7, 0), 0u);  // a word at the very start
  EXPECT_EQ(FindInText("cat", "cat dog", Down(true), 0, 0), 0u);
  // Digits and two-byte characters are word bytes; half-width kana delimit.
  EXPECT_EQ(FindInText("cat", "1cat cat", Down(true), 0, 0), 5u);
  EXPECT_EQ(FindInText("cat", S("字cat ｱcatｱ"), Down(true), 0, 0), 7u);
  // The test is on single bytes: the trail byte BF of "漢" is a delimiter.
  EXPECT_EQ(FindInText("cat", S("漢cat"), Down(true), 0, 0), 2u);
}

TEST(FindInText, NeverStartsOnTheSecondByteOfACharacter) {
  // "ア" is 83 41: its trail byte is "A". Both directions skip it.
  const std::string t = S("アア") + "A";
  EXPECT_EQ(FindInText("A", t, Down(), 0, 0), 4u);
  EXPECT_EQ(FindInText("a", t, Up(), t.size(), 0), 4u);
  EXPECT_EQ(FindInText("A", S("アア"), Down(), 0, 0), std::nullopt);
  // "\x8A\x8A" pairs are a lead-byte run where every byte could lead: only even offsets
  // after the run's start are character starts.
  std::string run(1000, '\x8A');
  run = "x" + run + "\x8A";
  EXPECT_EQ(FindInText("\x8A\x8A", run, Down(false, true), 2, 0), 3u);
  EXPECT_EQ(FindInText("\x8A\x8A", run, Up(false, true), run.size(), 0), run.size() - 2 - 1);
  CharStarts starts(run);
  for (std::size_t p = 0; p <= run.size(); ++p) EXPECT_EQ(starts.IsStart(p), p <= 1 || (p - 1) % 2 == 0) << p;
}

TEST(FindInText, InUtf8TextMatchesStartOnCharactersAndWordsHoldNonAsciiLetters) {
  FindOptions o;
  o.utf8 = true;
  // "\x81\x82" is the tail of あ (E3 81 82): never a hit in UTF-8 text.
  const std::string text = "\xE3\x81\x82\x81\x82 \x81\x82x";
  EXPECT_FALSE(FindInText("\x81\x82", text, o, 0, 0));
  EXPECT_EQ(FindInText("\xE3\x81\x82", text, o, 0, 0), 0u);
  // Whole word: "cat" inside "caté" is no word; "cat" before a space is.
  o.whole_word = true;
  EXPECT_FALSE(FindInText("cat", "cat\xC3\xA9", o, 0, 0));
  EXPECT_EQ(FindInText("cat", "cat\xC3\xA9 cat ", o, 0, 0), 6u);
  o.whole_word = false;
  o.down = false;
  EXPECT_EQ(FindInText("\xE3\x81\x82", text, o, text.size(), 0), 0u);
}

TEST(FindInText, ResyncsOnTextsThatAreLongRunsOfLeadBytes) {
  // 4 MB of one lead byte, an odd count before the needle's lead byte: every candidate
  // is decided by the remembered run, not by scanning back to the start again.
  std::string t(4u << 20, '\x81');
  t += "\x81\x40";
  const std::string needle = "\x81\x40";
  const std::size_t at = t.size() - 2;
  EXPECT_EQ(FindInText(needle, t, Down(false, true), 0, 0), (at % 2 == 0) ? std::optional<std::size_t>(at) : std::nullopt);
  EXPECT_EQ(FindInText(std::string("\x81\x81"), t, Up(false, true), t.size(), 0), at - 2);
}

TEST(ReplaceAll, CountsAndNeverLoopsOnAReplacementHoldingTheFindText) {
  ReplaceResult r = ReplaceAll("aaaa", "a", "b", Down(false, true));
  EXPECT_EQ(r.text, "bbbb");
  EXPECT_EQ(r.count, 4u);
  r = ReplaceAll("aXa", "a", "aa", Down(false, true));
  EXPECT_EQ(r.text, "aaXaa");
  EXPECT_EQ(r.count, 2u);
  EXPECT_EQ(r.caret, 5u);
  r = ReplaceAll("abc", "zz", "y", Down(false, true));
  EXPECT_EQ(r.text, "abc");
  EXPECT_EQ(r.count, 0u);
  r = ReplaceAll("abc", "", "y", Down(false, true));
  EXPECT_EQ(r.count, 0u);
  // From the caret on only; case and word options as the find.
  r = ReplaceAll("a A a", "a", "b", Down(false, false), 1);
  EXPECT_EQ(r.text, "a b b");
  r = ReplaceAll("cat cats cat", "cat", "dog", Down(true, true));
  EXPECT_EQ(r.text, "dog cats dog");
  // Multibyte-aware: the "A" inside "ア" stays.
  r = ReplaceAll(S("アA"), "A", "B", Down(false, true));
  EXPECT_EQ(r.text, S("アB"));
  EXPECT_EQ(r.count, 1u);
}

// Against a plain reference that decodes from the start: random texts and find texts
// over a few bytes that are lead bytes, trail bytes, letters of both cases and
// delimiters, from every selection, all option sets.
TEST(FindInText, AgreesWithAReferenceThatDecodesFromTheStart) {
  const unsigned char alphabet[] = {'a', 'A', 'b', ' ', 0x81, 0x8A, 0xE0, 0xBF, 0x5B};
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  auto pick = [&] { return static_cast<char>(alphabet[next() % sizeof alphabet]); };
  for (int round = 0; round < 400; ++round) {
    std::string text(next() % 24, ' '), find(1 + next() % 3, ' ');
    for (char& c : text) c = pick();
    for (char& c : find) c = pick();
    auto lead = [](char c) {
      const auto b = static_cast<unsigned char>(c);
      return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    };
    std::vector<bool> start(text.size() + 1, false), trail(find.size(), false);
    for (std::size_t p = 0; p < text.size(); p += lead(text[p]) ? 2 : 1) start[p] = true;
    for (std::size_t i = 0; i < find.size(); ++i)
      if (lead(find[i]) && i + 1 < find.size()) trail[++i] = true;
    for (int bits = 0; bits < 8; ++bits) {
      const FindOptions o{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
      auto at = [&](std::size_t p) {
        if (p + find.size() > text.size() || !start[p]) return false;
        for (std::size_t i = 0; i < find.size(); ++i) {
          char a = text[p + i], b = find[i];
          if (!o.match_case && !trail[i]) {
            if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
            if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
          }
          if (a != b) return false;
        }
        if (o.whole_word && p > 0 && !IsWordDelimiter(static_cast<unsigned char>(text[p - 1]))) return false;
        const std::size_t e = p + find.size();
        return !(o.whole_word && e < text.size() && !IsWordDelimiter(static_cast<unsigned char>(text[e])));
      };
      for (std::size_t s = 0; s <= text.size(); ++s) {
        std::optional<std::size_t> want;
        if (o.down) {
          for (std::size_t p = s; p <= text.size() && !want; ++p)
            if (at(p)) want = p;
        } else {
          for (std::size_t p = s; p-- > 0 && !want;)
            if (at(p)) want = p;
        }
        ASSERT_EQ(FindInText(find, text, o, s, 0), want) << round << " bits " << bits << " from " << s;
      }
    }
  }
}

}  // namespace
}  // namespace haruvi::search
