#include "platform/text_format.h"

namespace haruvi::platform {

std::string FormatThousands(std::uint64_t value, int width) {
  std::string digits = std::to_string(value);
  std::string out;
  int n = static_cast<int>(digits.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[static_cast<size_t>(i)]);
  }
  if (width > 0 && static_cast<int>(out.size()) < width)
    out.insert(0, static_cast<size_t>(width) - out.size(), ' ');
  return out;
}

std::string FormatThousands(std::int64_t value, int width) {
  if (value >= 0) return FormatThousands(static_cast<std::uint64_t>(value), width);
  std::string out(1, '-');
  out += FormatThousands(static_cast<std::uint64_t>(-(value + 1)) + 1, 0);
  if (width > 0 && static_cast<int>(out.size()) < width)
    out.insert(0, static_cast<size_t>(width) - out.size(), ' ');
  return out;
}

std::string JapaneseShortWeekday(int day_of_week) {
  static const char* const kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
  return kNames[((day_of_week % 7) + 7) % 7];
}

std::string TrimSpaces(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

std::string_view TrimSpacesAndTabs(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace haruvi::platform
