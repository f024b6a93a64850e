#include "platform/settings_values.h"

#include <array>
#include <cstdio>

#include "platform/ini_file.h"

namespace haruvi::platform {
namespace {

struct NamedColor {
  std::string_view name;
  std::uint32_t value;
};

constexpr std::uint32_t Sys(int index) { return 0x80000000u | static_cast<std::uint32_t>(index); }

// The standard colour names, in the order their values are looked up when writing.
constexpr std::array<NamedColor, 47> kColors{{
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},    {"clGreen", 0x008000},
    {"clOlive", 0x008080},      {"clNavy", 0x800000},      {"clPurple", 0x800080},
    {"clTeal", 0x808000},       {"clGray", 0x808080},      {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},        {"clLime", 0x00FF00},      {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},   {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},      {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},      {"clMedGray", 0xA4A0A0},
    {"clScrollBar", Sys(0)},    {"clBackground", Sys(1)},  {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)}, {"clMenu", Sys(4)},     {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},  {"clMenuText", Sys(7)},    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},  {"clActiveBorder", Sys(10)}, {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)}, {"clHighlight", Sys(13)}, {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},     {"clBtnShadow", Sys(16)},  {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},     {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)}, {"cl3DDkShadow", Sys(21)}, {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},    {"clInfoBk", Sys(24)},
    {"clNone", 0x1FFFFFFF},     {"clDefault", 0x20000000},
}};

// A light desktop palette for the system colours, as 0xRRGGBB, by index.
constexpr std::array<std::uint32_t, 25> kSystemRgb{{
    0xC8C8C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0xFFFFFF, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1,
}};

}  // namespace

std::optional<StoredColor> ColorFromString(std::string_view text) {
  for (const NamedColor& c : kColors)
    if (SameIniName(c.name, text)) return static_cast<StoredColor>(c.value);
  return ParseIniInteger(text);
}

std::string ColorToString(StoredColor color) {
  for (const NamedColor& c : kColors)
    if (static_cast<StoredColor>(c.value) == color) return std::string(c.name);
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(color));
  return buf;
}

bool IsSystemColor(StoredColor color, int* index) {
  auto u = static_cast<std::uint32_t>(color);
  if ((u & 0xFF000000u) != 0x80000000u || (u & 0x00FFFFFFu) > 30) return false;
  if (index) *index = static_cast<int>(u & 0xFF);
  return true;
}

std::uint32_t ColorToRgb(StoredColor color) {
  int index = 0;
  if (IsSystemColor(color, &index))
    return index < static_cast<int>(kSystemRgb.size()) ? kSystemRgb[static_cast<size_t>(index)]
                                                        : 0x000000;
  if (color == kColorNone || color == kColorDefault) return 0x000000;
  auto bgr = static_cast<std::uint32_t>(color) & 0xFFFFFF;
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

std::optional<FontStyle> FontStyleFromInt(std::int32_t bits) {
  if (bits < 0 || bits > 255) return std::nullopt;
  FontStyle s;
  s.bold = bits & kFontBold;
  s.italic = bits & kFontItalic;
  s.underline = bits & kFontUnderline;
  s.strike_out = bits & kFontStrikeOut;
  return s;
}

std::int32_t FontStyleToInt(const FontStyle& style) {
  return (style.bold ? kFontBold : 0) | (style.italic ? kFontItalic : 0) |
         (style.underline ? kFontUnderline : 0) | (style.strike_out ? kFontStrikeOut : 0);
}

}  // namespace haruvi::platform
