// Reading the answers typed into the text commands' prompts: strict integers where a
// command needs one, lenient numbers where it falls back to a default, and the
// hexadecimal separator byte of the CSV join.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace haruvi::textcmd {

// A whole 32-bit integer, optionally signed, blanks around it allowed; nullopt otherwise
// (the command then ends with the conversion error and no change).
std::optional<std::int32_t> ParseInteger(std::string_view answer);

// The number in `answer`, or `fallback` when it is none; then kept within [lo, hi], the
// way a spin edit keeps its value in range.
std::int32_t NumberOr(std::string_view answer, std::int32_t fallback, std::int32_t lo,
                      std::int32_t hi);

// The separator byte of "(16進文字)": one or two hexadecimal digits from 01 to FF. Above FF
// and 00 (which would end the text in the pane) are refused like a non-number.
std::optional<char> ParseHexSeparator(std::string_view answer);

inline constexpr std::string_view kHexSeparatorRefused =
    "１６進区切り文字は01からFFまでの値を入力して下さい。";
inline constexpr std::string_view kGroupSizeRefused =
    "１レコードの行数は1以上の数値を入力して下さい。";

}  // namespace haruvi::textcmd
