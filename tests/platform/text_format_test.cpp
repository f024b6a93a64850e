// Number texts with thousands separators and the Japanese weekday names.
#include <gtest/gtest.h>

#include "platform/text_format.h"

namespace haruvi::platform {
namespace {

TEST(TextFormat, ThousandsSeparatorsAndPadding) {
  EXPECT_EQ(FormatThousands(std::uint64_t{0}), "0");
  EXPECT_EQ(FormatThousands(std::uint64_t{999}), "999");
  EXPECT_EQ(FormatThousands(std::uint64_t{1000}), "1,000");
  EXPECT_EQ(FormatThousands(std::uint64_t{1234567}), "1,234,567");
  EXPECT_EQ(FormatThousands(std::uint64_t{5000000000ULL}), "5,000,000,000");  // past 32 bits
  EXPECT_EQ(FormatThousands(std::uint64_t{1234}, 16), "           1,234");
  // Signed values on either side of zero.
  EXPECT_EQ(FormatThousands(std::int64_t{0}), "0");
  EXPECT_EQ(FormatThousands(std::int64_t{0}, 3), "  0");
  EXPECT_EQ(FormatThousands(std::int64_t{1}), "1");
  EXPECT_EQ(FormatThousands(std::int64_t{-1}, 3), " -1");
  EXPECT_EQ(FormatThousands(std::int64_t{-1000}), "-1,000");
  EXPECT_EQ(FormatThousands(std::int64_t{-1234567}), "-1,234,567");
  EXPECT_EQ(FormatThousands(std::int64_t{INT64_MIN}), "-9,223,372,036,854,775,808");
  EXPECT_EQ(TrimSpaces(FormatThousands(std::uint64_t{42}, 15)), "42");
}

TEST(TextFormat, EachTrimTakesOnlyItsBlanks) {
  EXPECT_EQ(TrimSpaces("  1,234 "), "1,234");
  EXPECT_EQ(TrimSpaces("\t12\t"), "\t12\t");  // a tab is no padding
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(TrimSpacesAndTabs(" \t-12\t "), "-12");
  EXPECT_EQ(TrimSpacesAndTabs("1 2"), "1 2");
  EXPECT_EQ(TrimSpacesAndTabs("\t \t"), "");
}

TEST(TextFormat, ShortWeekdaysStartOnSunday) {
  EXPECT_EQ(JapaneseShortWeekday(0), "日");
  EXPECT_EQ(JapaneseShortWeekday(1), "月");
  EXPECT_EQ(JapaneseShortWeekday(6), "土");
  EXPECT_EQ(JapaneseShortWeekday(7), "日");
}

}  // namespace
}  // namespace haruvi::platform

#include "platform/path_text.h"

namespace haruvi::platform {
namespace {

TEST(PathText, AnyBytesComeBackAndUtf8ReadsAsText) {
  EXPECT_EQ(PathToUtf16("abc"), u"abc");
  EXPECT_EQ(PathToUtf16("日本.txt"), u"日本.txt");
  EXPECT_EQ(PathToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");
  // A Shift_JIS name: its bytes escape to lone surrogates.
  EXPECT_EQ(PathToUtf16("\x93\xfa.txt"), std::u16string(u"\xDC93\xDCFA.txt"));
  unsigned state = 99;
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int i = 0; i < 12; ++i) {
      state = state * 1103515245 + 12345;
      bytes.push_back(static_cast<char>(state >> 16));
    }
    ASSERT_EQ(Utf16ToPath(PathToUtf16(bytes)), bytes);
  }
  for (const char* tricky : {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81", "\xFF\xFE"})
    EXPECT_EQ(Utf16ToPath(PathToUtf16(tricky)), tricky);
}

}  // namespace
}  // namespace haruvi::platform
