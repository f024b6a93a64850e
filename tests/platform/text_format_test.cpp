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
  EXPECT_EQ(FormatThousands(std::int64_t{-1234567}), "-1,234,567");
  EXPECT_EQ(FormatThousands(std::int64_t{INT64_MIN}), "-9,223,372,036,854,775,808");
  EXPECT_EQ(TrimBlanks(FormatThousands(std::uint64_t{42}, 15)), "42");
}

TEST(TextFormat, ShortWeekdaysStartOnSunday) {
  EXPECT_EQ(JapaneseShortWeekday(0), "日");
  EXPECT_EQ(JapaneseShortWeekday(1), "月");
  EXPECT_EQ(JapaneseShortWeekday(6), "土");
  EXPECT_EQ(JapaneseShortWeekday(7), "日");
}

}  // namespace
}  // namespace haruvi::platform
