// File names as text: valid UTF-8 read as such, every other byte kept as an escape that
// turns back into the same byte, and surrogates that stand for nothing.
#include "platform/path_text.h"

#include <gtest/gtest.h>

namespace haruvi::platform {
namespace {

TEST(PathText, EveryByteOfANameComesBack) {
  const std::string names[] = {"plain.txt", "日本語", "\x93\xfa\x96\x7b.txt", "caf\xe9",
                               "\xed\xa0\x80", "\xf0\x9f\x98\x80", "a\x80\xff"};
  for (const std::string& name : names) EXPECT_EQ(Utf16ToPath(PathToUtf16(name)), name) << name;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_EQ(PathToUtf16(one), std::u16string(1, static_cast<char16_t>(0xDC00 + b))) << b;
  }
}

TEST(PathText, SurrogatesOnEitherSideOfEachRange) {
  const struct {
    std::u16string text;
    std::string path;
  } rows[] = {
      {u"\xD7FF", "\xed\x9f\xbf"},          // the last code before the surrogates
      {u"\xD800", "?"},                      // a high surrogate alone
      {u"\xDBFF", "?"},
      {u"\xDC00", "?"},                      // low surrogates that escape no byte
      {u"\xDC7F", "?"},
      {u"\xDC80", "\x80"},                   // the escaped bytes
      {u"\xDCFF", "\xff"},
      {u"\xDD00", "?"},
      {u"\xDFFF", "?"},                      // the last surrogate
      {u"\xE000", "\xee\x80\x80"},           // the first code after them
      {u"\xD83D\xDE00", "\xf0\x9f\x98\x80"},  // a pair
      {u"\xDBFF\xDFFF", "\xf4\x8f\xbf\xbf"},
      {u"\xD800" "a", "?a"},                 // a high surrogate without its partner
  };
  for (const auto& r : rows) EXPECT_EQ(Utf16ToPath(r.text), r.path) << static_cast<int>(r.text[0]);
}

}  // namespace
}  // namespace haruvi::platform
