// Colour names and font-style bits of the settings file.
#include <gtest/gtest.h>

#include "platform/settings_values.h"

namespace haruvi::platform {
namespace {

TEST(SettingsColors, NamesAndHexRoundTrip) {
  struct Row { const char* text; StoredColor value; const char* written; } rows[] = {
      {"clWindowText", kColorWindowText, "clWindowText"},
      {"clwindowtext", kColorWindowText, "clWindowText"},
      {"clRed", 0x0000FF, "clRed"},
      {"clBlue", 0xFF0000, "clBlue"},
      {"$00123456", 0x123456, "$00123456"},
      {"$00FF0000", 0xFF0000, "clBlue"},
      {"0x00000080", 0x000080, "clMaroon"},
      {"clNone", kColorNone, "clNone"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ColorFromString(r.text), r.value) << r.text;
    EXPECT_EQ(ColorToString(r.value), r.written) << r.text;
  }
  EXPECT_EQ(ColorFromString("clNoSuchColour"), std::nullopt);
}

TEST(SettingsColors, DisplayRgbSwapsBlueAndRed) {
  EXPECT_EQ(ColorToRgb(0x0000FF), 0xFF0000u);  // clRed
  EXPECT_EQ(ColorToRgb(0x123456), 0x563412u);
  EXPECT_EQ(ColorToRgb(kColorWindowText), 0x000000u);
  EXPECT_EQ(ColorToRgb(*ColorFromString("clWindow")), 0xFFFFFFu);
  int index = -1;
  EXPECT_TRUE(IsSystemColor(kColorWindowText, &index));
  EXPECT_EQ(index, 8);
  EXPECT_FALSE(IsSystemColor(0x123456));
}

TEST(SettingsFontStyle, BitsAndRange) {
  auto s = FontStyleFromInt(1 | 4);
  ASSERT_TRUE(s);
  EXPECT_TRUE(s->bold);
  EXPECT_FALSE(s->italic);
  EXPECT_TRUE(s->underline);
  EXPECT_FALSE(s->strike_out);
  EXPECT_EQ(FontStyleToInt(*s), 5);
  EXPECT_EQ(FontStyleToInt(*FontStyleFromInt(15)), 15);
  EXPECT_EQ(FontStyleFromInt(-1), std::nullopt);
  EXPECT_EQ(FontStyleFromInt(256), std::nullopt);
  EXPECT_EQ(FontStyleToInt(*FontStyleFromInt(255)), 15);  // unknown bits are dropped
}

}  // namespace
}  // namespace haruvi::platform
