// Font names of the settings file (the design's Japanese system fonts) mapped to the
// fontconfig families a Debian desktop has; other names pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::platform {

// "ＭＳ ゴシック" -> "Noto Sans Mono CJK JP", "ＭＳ Ｐゴシック" -> "Noto Sans CJK JP",
// "ＭＳ 明朝"/"ＭＳ Ｐ明朝" -> "Noto Serif CJK JP"; anything else as it is.
std::string FontFamilyFor(std::string_view name);

inline constexpr std::string_view kPaneFontName = "ＭＳ ゴシック";
inline constexpr std::string_view kWindowFontName = "ＭＳ Ｐゴシック";

}  // namespace haruvi::platform
