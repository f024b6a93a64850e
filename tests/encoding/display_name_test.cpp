// File names as the window shows them: UTF-8 kept, Shift_JIS read as Shift_JIS, stray
// bytes marked, one name of a path at a time; and the UTF-8 validity rule under it.
#include "encoding/display_name.h"

#include <gtest/gtest.h>

namespace haruvi::encoding {
namespace {

TEST(DisplayName, EachNameIsShownInTheFormItHas) {
  const struct {
    const char* bytes;
    const char* shown;
  } rows[] = {
      {"plain.txt", "plain.txt"},
      {"日本語.txt", "日本語.txt"},
      // Shift_JIS "シフトJIS名のファイル.txt": bytes CC 83 inside are valid UTF-8 by chance.
      {"\x83\x56\x83\x74\x83\x67JIS\x96\xbc\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b.txt", "シフトJIS名のファイル.txt"},
      {"\xb6\xc0\xb6\xc5", "ｶﾀｶﾅ"},                          // half-width kana
      {"caf\xe9", "caf\xEF\xBF\xBD"},                        // Latin-1: neither reading
      {"a\x81", "a\xEF\xBF\xBD"},                            // a lead byte cut off
      {"/home/u/\x93\xfa\x96\x7b/日本/x", "/home/u/日本/日本/x"},  // per name
      // Codes that repeat another code's character show just the character.
      {"\x87\x90\x81\xE0", "≒≒"},
      {"\xFA\x5B\x81\xE6", "∵∵"},
      {"", ""},
      {"/", "/"},
  };
  for (const auto& r : rows) EXPECT_EQ(NameForDisplay(r.bytes), r.shown) << r.bytes;
}

TEST(DisplayName, Utf8ValidityEdges) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("\x7f"));
  EXPECT_TRUE(IsValidUtf8("\xc2\x80"));
  EXPECT_FALSE(IsValidUtf8("\xc1\xbf"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xe0\x9f\xbf"));      // overlong three-byte
  EXPECT_TRUE(IsValidUtf8("\xe0\xa0\x80"));
  EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));      // a surrogate
  EXPECT_TRUE(IsValidUtf8("\xed\x9f\xbf"));
  EXPECT_TRUE(IsValidUtf8("\xf4\x8f\xbf\xbf"));   // U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xf4\x90\x80\x80"));  // beyond it
  EXPECT_FALSE(IsValidUtf8("\xf0\x8f\xbf\xbf"));  // overlong four-byte
  EXPECT_FALSE(IsValidUtf8("\xe3\x81"));          // cut short
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

}  // namespace
}  // namespace haruvi::encoding
