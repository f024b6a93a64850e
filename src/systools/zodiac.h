// The date command's texts: the menu caption " 2000.9.15 (金)", the zodiac sign by the
// month and day, and the message with the date, the Japanese era date and the time.
#pragma once

#include <string>

namespace haruvi::systools {

struct Clock {
  int year = 2000, month = 1, day = 1;
  int day_of_week = 0;  // 0 Sunday .. 6 Saturday
  int hour = 0, minute = 0, second = 0;
};

// "山羊座 Capricorn" ... from the month and day read as MMDD; "判定不能" for no date.
std::string ZodiacSign(int month, int day);
// The era and its year: "令和8年"; "" before the Meiji era.
std::string EraYear(int year, int month, int day);
std::string NowCaption(const Clock& c);
// The five blocks of the message, separated by empty lines.
std::string NowMessage(const Clock& c);

}  // namespace haruvi::systools
