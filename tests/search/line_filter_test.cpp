// The line filters: plain and pattern picks and deletions with their counts, word
// deletion that never cuts a two-byte character, the continuous forms applying their
// entries in order, a bad pattern leaving no partial result, and list files.
#include "search/line_filter.h"

#include <gtest/gtest.h>

#include "regex/regex_error.h"
#include "support/sjis.h"

namespace haruvi::search {
namespace {

using haruvi::test::S;
using Lines = std::vector<std::string>;

TEST(LineFilters, PlainPickAndDeleteCountLines) {
  LineFilterResult r = DeleteLines("a\r\nb\r\na", "a");
  EXPECT_EQ(r.lines, Lines{"b"});
  EXPECT_EQ(r.count, 2u);
  r = PickLines("abc\r\nxyz\nab", "ab");
  EXPECT_EQ(r.lines, (Lines{"abc", "ab"}));
  EXPECT_EQ(r.count, 2u);
  EXPECT_TRUE(PickLines("abc\r\nxyz", "q").lines.empty());
  EXPECT_TRUE(PickLines("abc\r\nxyz", "").lines.empty());  // an empty text is in no line
  EXPECT_EQ(DeleteLines("abc\r\nxyz", "").lines.size(), 2u);
  // Lone CR ends a line too.
  EXPECT_EQ(PickLines("a1\rb\ra2", "a").lines, (Lines{"a1", "a2"}));
}

TEST(LineFilters, PatternsTestEachLineOnItsOwn) {
  EXPECT_EQ(DeleteLinesMatching("a\r\n\r\nb\r\n\r\n", "^$", false).lines, (Lines{"a", "b"}));
  EXPECT_EQ(PickLinesMatching("1a\r\nb2\r\n3", "^[0-9]", false).lines, (Lines{"1a", "3"}));
  EXPECT_EQ(PickLinesMatching("ab\r\nAB\r\n" + S("ａｂ"), "ab", false).lines, Lines{"ab"});
  // The character-equivalence dictionary widens a letter to its other forms.
  EXPECT_EQ(PickLinesMatching("ab\r\nAB\r\n" + S("ａｂ"), "ab", true).lines.size(), 3u);
  EXPECT_THROW(PickLinesMatching("abc", "[a-", false), regex::ERegExpParser);
  EXPECT_THROW(DeleteLinesMatching("abc", "a)", false), regex::ERegExpParser);
}

TEST(LineFilters, WordDeletionIsMultibyteAware) {
  EXPECT_EQ(DeleteWord(S("アA") + "A", "A"), S("ア"));
  EXPECT_EQ(DeleteWord("abab", ""), "abab");
  EXPECT_EQ(DeleteWord("aaa", "aa"), "a");
}

TEST(LineFilters, ContinuousEntriesApplyInListOrder) {
  EXPECT_EQ(DeleteWordsOfList("aabb", {"ab", "b"}, false, false), "a");
  EXPECT_EQ(DeleteWordsOfList("a1b22c", {"[0-9]+"}, true, false), "abc");
  EXPECT_EQ(DeleteLinesOfList("x1\r\ny\r\nz2\r\nw", {"1", "2"}, false, false), (Lines{"y", "w"}));
  EXPECT_EQ(DeleteLinesOfList("x1\r\ny\r\nz2", {"^[xz]"}, true, false), Lines{"y"});
  EXPECT_TRUE(DeleteLinesOfList("x\r\ny", {""}, true, false).empty());  // an empty pattern matches all
  EXPECT_EQ(DeleteLinesOfList("x\r\ny", {""}, false, false).size(), 2u);
  EXPECT_THROW(DeleteLinesOfList("x\r\ny", {"x", "(("}, true, false), regex::ERegExpParser);
  EXPECT_THROW(DeleteWordsOfList("x", {"x", "[z-a]"}, true, false), regex::ERegExpParser);
}

TEST(LineFilters, ListFilesRoundTrip) {
  const Lines entries = {" lead", "trail ", "", S("漢字")};
  EXPECT_EQ(ParseListFile(FormatListFile(entries)), entries);
  EXPECT_EQ(ParseListFile("a\nb\rc"), (Lines{"a", "b", "c"}));
}

}  // namespace
}  // namespace haruvi::search
