#include "platform/font_map.h"

namespace haruvi::platform {

std::string FontFamilyFor(std::string_view name) {
  if (name == "ＭＳ ゴシック" || name == "MS Gothic") return "Noto Sans Mono CJK JP";
  if (name == "ＭＳ Ｐゴシック" || name == "MS PGothic" || name == "MS UI Gothic")
    return "Noto Sans CJK JP";
  if (name == "ＭＳ 明朝" || name == "ＭＳ Ｐ明朝" || name == "MS Mincho" || name == "MS PMincho")
    return "Noto Serif CJK JP";
  return std::string(name);
}

}  // namespace haruvi::platform
