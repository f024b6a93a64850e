// Font names of the settings file and the families they are shown in.
#include "platform/font_map.h"

#include <gtest/gtest.h>

namespace haruvi::platform {
namespace {

TEST(FontFamilyFor, MapsEachSystemFontAndPassesOthersThrough) {
  const struct {
    const char *name, *family;
  } rows[] = {
      {"ＭＳ ゴシック", "Noto Sans Mono CJK JP"}, {"MS Gothic", "Noto Sans Mono CJK JP"},
      {"ＭＳ Ｐゴシック", "Noto Sans CJK JP"},    {"MS PGothic", "Noto Sans CJK JP"},
      {"MS UI Gothic", "Noto Sans CJK JP"},       {"ＭＳ 明朝", "Noto Serif CJK JP"},
      {"ＭＳ Ｐ明朝", "Noto Serif CJK JP"},       {"MS Mincho", "Noto Serif CJK JP"},
      {"MS PMincho", "Noto Serif CJK JP"},
      // Names that are not exactly one of those stay as they are.
      {"DejaVu Sans Mono", "DejaVu Sans Mono"},   {"ms gothic", "ms gothic"},
      {"MS Gothic ", "MS Gothic "},               {"", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(FontFamilyFor(r.name), r.family) << r.name;
}

}  // namespace
}  // namespace haruvi::platform
