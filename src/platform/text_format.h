// Number and date texts shared by the status bars, the information line and the reports:
// "%15.0n"-style numbers with thousands separators, the Japanese short weekday names, and
// the trimming of blanks around a number's text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace haruvi::platform {

// 1234567 -> "1,234,567", right-aligned with blanks to `width` characters (0: no padding).
std::string FormatThousands(std::uint64_t value, int width = 0);
std::string FormatThousands(std::int64_t value, int width = 0);

// 0 = Sunday ... 6 = Saturday -> "日", "月", "火", "水", "木", "金", "土" (UTF-8).
std::string JapaneseShortWeekday(int day_of_week);

// Leading and trailing spaces (' ' only) removed: the padding FormatThousands adds.
std::string TrimSpaces(const std::string& s);

// Leading and trailing spaces and tabs removed: a number typed into a prompt or written in
// the settings file.
std::string_view TrimSpacesAndTabs(std::string_view s);

}  // namespace haruvi::platform
