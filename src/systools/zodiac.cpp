// Date caption, era year and zodiac sign of the date command.
#include "systools/zodiac.h"

#include <array>

#include "platform/text_format.h"

namespace haruvi::systools {

std::string ZodiacSign(int month, int day) {
  struct Sign { int from, to; const char* name; };
  static constexpr std::array<Sign, 13> kSigns = {{
      {101, 119, "山羊座 Capricorn"},
      {120, 218, "水瓶座　Aquarius"},
      {219, 320, "魚座　Pisces"},
      {321, 419, "牡羊座　Aries"},
      {420, 520, "牡牛座　Taurus"},
      {521, 621, "双子座　Gemini"},
      {622, 722, "蟹座　Cancer"},
      {723, 821, "獅子座　Leo"},
      {822, 922, "乙女座　Virgo"},
      {923, 1023, "天秤座　Libra"},
      {1024, 1122, "蠍座　Scorpio"},
      {1123, 1221, "射手座　Sagittarius"},
      {1222, 1231, "山羊座 Capricorn"},
  }};
  const int mmdd = month * 100 + day;
  for (const Sign& s : kSigns)
    if (mmdd >= s.from && mmdd <= s.to) return s.name;
  return "判定不能";
}

std::string EraYear(int year, int month, int day) {
  struct Era { int y, m, d; const char* name; };
  static constexpr std::array<Era, 5> kEras = {{
      {2019, 5, 1, "令和"}, {1989, 1, 8, "平成"}, {1926, 12, 25, "昭和"}, {1912, 7, 30, "大正"}, {1868, 1, 25, "明治"},
  }};
  const long date = year * 10000L + month * 100L + day;
  for (const Era& e : kEras) {
    if (date >= e.y * 10000L + e.m * 100L + e.d) {
      const int n = year - e.y + 1;
      return std::string(e.name) + (n == 1 ? std::string("元") : std::to_string(n)) + "年";
    }
  }
  return "";
}

namespace {

std::string FullWeekday(int dow) {
  static constexpr std::array<const char*, 7> kNames = {"日曜日", "月曜日", "火曜日", "水曜日",
                                                        "木曜日", "金曜日", "土曜日"};
  return kNames[static_cast<size_t>(((dow % 7) + 7) % 7)];
}

}  // namespace

std::string NowCaption(const Clock& c) {
  return " " + std::to_string(c.year) + "." + std::to_string(c.month) + "." + std::to_string(c.day) + " (" +
         platform::JapaneseShortWeekday(c.day_of_week) + ")";
}

std::string NowMessage(const Clock& c) {
  const std::string md = std::to_string(c.month) + "月 " + std::to_string(c.day) + "日 (";
  std::string era = EraYear(c.year, c.month, c.day);
  if (era.empty()) era = std::to_string(c.year) + "年";
  return "現在\n\n" + std::to_string(c.year) + "年 " + md + platform::JapaneseShortWeekday(c.day_of_week) + ")\n\n" +
         era + " " + md + FullWeekday(c.day_of_week) + ")\n\n" + std::to_string(c.hour) + "時 " +
         std::to_string(c.minute) + "分 " + std::to_string(c.second) + "秒\n\n" + ZodiacSign(c.month, c.day);
}

}  // namespace haruvi::systools
