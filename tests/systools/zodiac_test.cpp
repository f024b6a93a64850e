// The zodiac on both sides of every cusp, the era years at their first days and the
// date texts.
#include <gtest/gtest.h>

#include "systools/zodiac.h"

namespace haruvi::systools {
namespace {

TEST(Zodiac, EveryCuspChangesTheSign) {
  struct Cusp { int m1, d1, m2, d2; const char* before; const char* after; };
  const Cusp kCusps[] = {
      {1, 19, 1, 20, "山羊座 Capricorn", "水瓶座　Aquarius"}, {2, 18, 2, 19, "水瓶座　Aquarius", "魚座　Pisces"},
      {3, 20, 3, 21, "魚座　Pisces", "牡羊座　Aries"},        {4, 19, 4, 20, "牡羊座　Aries", "牡牛座　Taurus"},
      {5, 20, 5, 21, "牡牛座　Taurus", "双子座　Gemini"},     {6, 21, 6, 22, "双子座　Gemini", "蟹座　Cancer"},
      {7, 22, 7, 23, "蟹座　Cancer", "獅子座　Leo"},          {8, 21, 8, 22, "獅子座　Leo", "乙女座　Virgo"},
      {9, 22, 9, 23, "乙女座　Virgo", "天秤座　Libra"},       {10, 23, 10, 24, "天秤座　Libra", "蠍座　Scorpio"},
      {11, 22, 11, 23, "蠍座　Scorpio", "射手座　Sagittarius"},
      {12, 21, 12, 22, "射手座　Sagittarius", "山羊座 Capricorn"},
  };
  for (const Cusp& c : kCusps) {
    EXPECT_EQ(ZodiacSign(c.m1, c.d1), c.before) << c.m1 << "/" << c.d1;
    EXPECT_EQ(ZodiacSign(c.m2, c.d2), c.after) << c.m2 << "/" << c.d2;
  }
  EXPECT_EQ(ZodiacSign(1, 1), "山羊座 Capricorn");
  EXPECT_EQ(ZodiacSign(1, 2), "山羊座 Capricorn");
  EXPECT_EQ(ZodiacSign(12, 31), "山羊座 Capricorn");
  EXPECT_EQ(ZodiacSign(2, 29), "魚座　Pisces");
}

TEST(Zodiac, NoDateGivesNoSign) {
  EXPECT_EQ(ZodiacSign(0, 5), "判定不能");
  EXPECT_EQ(ZodiacSign(13, 1), "判定不能");
  EXPECT_EQ(ZodiacSign(1, 0), "判定不能");
  EXPECT_EQ(ZodiacSign(12, 32), "判定不能");
}

TEST(Era, EachEraStartsWithItsFirstYear) {
  EXPECT_EQ(EraYear(2019, 4, 30), "平成31年");
  EXPECT_EQ(EraYear(2019, 5, 1), "令和元年");
  EXPECT_EQ(EraYear(2026, 12, 7), "令和8年");
  EXPECT_EQ(EraYear(1989, 1, 7), "昭和64年");
  EXPECT_EQ(EraYear(1989, 1, 8), "平成元年");
  EXPECT_EQ(EraYear(2000, 9, 15), "平成12年");
  EXPECT_EQ(EraYear(1800, 1, 1), "");
}

TEST(NowTexts, CaptionAndMessageAsTheMenuAndBoxShowThem) {
  const Clock c{2000, 9, 15, 5, 8, 5, 3};
  EXPECT_EQ(NowCaption(c), " 2000.9.15 (金)");
  EXPECT_EQ(NowMessage(c),
            "現在\n\n2000年 9月 15日 (金)\n\n平成12年 9月 15日 (金曜日)\n\n8時 5分 3秒\n\n乙女座　Virgo");
}

}  // namespace
}  // namespace haruvi::systools
