// Number and date texts shared by the status bars, the information line and the reports:
// "%15.0n"-style numbers with thousands separators and the Japanese short weekday names.
#pragma once

#include <cstdint>
#include <string>

namespace haruvi::platform {

// 1234567 -> "1,234,567", right-aligned with blanks to `width` characters (0: no padding).
std::string FormatThousands(std::uint64_t value, int width = 0);
std::string FormatThousands(std::int64_t value, int width = 0);

// 0 = Sunday ... 6 = Saturday -> "日", "月", "火", "水", "木", "金", "土" (UTF-8).
std::string JapaneseShortWeekday(int day_of_week);

// Leading and trailing blanks removed.
std::string TrimBlanks(const std::string& s);

}  // namespace haruvi::platform
