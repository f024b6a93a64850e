#include "textcmd/answers.h"

#include <charconv>

#include "platform/text_format.h"

namespace haruvi::textcmd {

using platform::TrimSpacesAndTabs;

std::optional<std::int32_t> ParseInteger(std::string_view answer) {
  answer = TrimSpacesAndTabs(answer);
  if (!answer.empty() && answer.front() == '+') answer.remove_prefix(1);
  if (answer.empty()) return std::nullopt;
  std::int32_t value = 0;
  auto [ptr, ec] = std::from_chars(answer.data(), answer.data() + answer.size(), value);
  if (ec != std::errc() || ptr != answer.data() + answer.size()) return std::nullopt;
  return value;
}

std::int32_t NumberOr(std::string_view answer, std::int32_t fallback, std::int32_t lo,
                      std::int32_t hi) {
  std::int32_t v = fallback;
  std::string_view t = TrimSpacesAndTabs(answer);
  if (auto n = ParseInteger(t)) {
    v = *n;
  } else if (!t.empty() && t.find_first_not_of("0123456789") == std::string_view::npos) {
    v = hi;  // all digits but too long for an integer: as far as the range goes
  }
  return v < lo ? lo : (v > hi ? hi : v);
}

std::optional<char> ParseHexSeparator(std::string_view answer) {
  answer = TrimSpacesAndTabs(answer);
  if (answer.empty() || answer.size() > 8) return std::nullopt;
  unsigned value = 0;
  auto [ptr, ec] = std::from_chars(answer.data(), answer.data() + answer.size(), value, 16);
  if (ec != std::errc() || ptr != answer.data() + answer.size()) return std::nullopt;
  if (value < 1 || value > 0xFF) return std::nullopt;
  return static_cast<char>(value);
}

}  // namespace haruvi::textcmd
