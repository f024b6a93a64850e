// Value forms of the settings file that are more than plain integers: colours by
// their standard names or "$" and eight hex digits, and font styles as a bit set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace haruvi::platform {

// A colour as stored: 0x00BBGGRR for a plain colour, 0x800000nn for system colour nn
// (clWindowText is 0x80000008), and the two special values below.
using StoredColor = std::int32_t;
inline constexpr StoredColor kColorNone = 0x1FFFFFFF;
inline constexpr StoredColor kColorDefault = 0x20000000;
inline constexpr StoredColor kColorWindowText = static_cast<StoredColor>(0x80000008u);

// "clRed" -> 0x0000FF; "$00FF0000" -> 0xFF0000; a decimal or "0x" integer is accepted
// as well. Names compare without regard to case. Anything else: nullopt.
std::optional<StoredColor> ColorFromString(std::string_view text);
// The standard name when there is one, else "$" and eight upper-case hex digits.
std::string ColorToString(StoredColor color);
// True for 0x800000nn system colours; their index (0..30) goes to *index.
bool IsSystemColor(StoredColor color, int* index = nullptr);
// 0xRRGGBB for display: plain colours as they are, system colours by a light desktop
// palette (window text black, window white, highlight blue ...).
std::uint32_t ColorToRgb(StoredColor color);

struct FontStyle {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
};
inline constexpr int kFontBold = 1, kFontItalic = 2, kFontUnderline = 4, kFontStrikeOut = 8;

// Bits 1 bold, 2 italic, 4 underline, 8 strike-out; values outside 0..255 are refused.
std::optional<FontStyle> FontStyleFromInt(std::int32_t bits);
std::int32_t FontStyleToInt(const FontStyle& style);

}  // namespace haruvi::platform
