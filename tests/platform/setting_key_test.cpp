// Typed settings keys: what a read gives for missing, good and bad values under each
// rule, what a write stores, and the start-up clamps that need the window's extents.
#include "platform/setting_key.h"

#include <gtest/gtest.h>

#include "platform/settings_values.h"
#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

constexpr auto kTab = Int("t", "RichEdit", "richtabwidth", "8", KeyRule::Range, 1, 255);
constexpr auto kCurrent = Int("t", "Form", "Width", "");
constexpr auto kIcon = Int("t", "FileView", "Icon", "", KeyRule::IconStyle);
constexpr auto kColumn = Int("t", "FileView", "Colum1", "", KeyRule::ColumnWidth);
constexpr auto kOn = Bool("t", "Menu", "Mdisp", "1");
constexpr auto kOff = Bool("t", "Menu", "Mrtf", "0");
constexpr auto kName = Str("t", "FontR", "Name", "ＭＳ ゴシック");
constexpr auto kColor = Color("t", "FontR", "Color", "clWindowText");
constexpr auto kStyle = Style("t", "FontR", "Style");

class SettingKeyTest : public ::testing::Test {
 protected:
  void Put(const char* section, const char* key, const char* value) { file.WriteString(section, key, value); }
  test::TempDir dir;
  IniFile file{dir / "s.ini"};
  Settings s{file};
};

TEST_F(SettingKeyTest, MissingKeysGiveTheirDefaultOrTheCurrentValue) {
  EXPECT_EQ(s.Read(kTab), 8);
  EXPECT_EQ(s.Read(kCurrent, 640), 640);
  EXPECT_EQ(s.Read(kIcon, 4), 4);
  EXPECT_TRUE(s.Read(kOn));
  EXPECT_FALSE(s.Read(kOff, true));  // a stated default wins over the current value
  EXPECT_EQ(s.Read(kName, "x"), "ＭＳ ゴシック");
  EXPECT_EQ(s.Read(kColor, 0), kColorWindowText);
  EXPECT_EQ(s.Read(kStyle), 0);
}

TEST_F(SettingKeyTest, ValuesOutsideTheirRuleFallBack) {
  const struct {
    const char* value;
    int tab, icon, column;
  } rows[] = {
      {"1", 1, 1, 1},     {"255", 255, 3, 255}, {"256", 8, 3, 256}, {"0", 8, 3, 0},
      {"-2", 8, 3, -2},   {"-3", 8, 3, 77},     {"x", 8, 2, 77},    {"$10", 16, 3, 16},  // no number: current
  };
  for (const auto& r : rows) {
    Put("RichEdit", "richtabwidth", r.value);
    Put("FileView", "Icon", r.value);
    Put("FileView", "Colum1", r.value);
    EXPECT_EQ(s.Read(kTab), r.tab) << r.value;
    EXPECT_EQ(s.Read(kIcon, 2), r.icon) << r.value;
    EXPECT_EQ(s.Read(kColumn, 77), r.column) << r.value;
  }
  Put("FontR", "Style", "256");
  EXPECT_EQ(s.Read(kStyle), 0);
  Put("FontR", "Style", "15");
  EXPECT_EQ(s.Read(kStyle), 15);
  Put("FontR", "Color", "no colour");
  EXPECT_EQ(s.Read(kColor, 5), kColorWindowText);
  Put("Menu", "Mdisp", "0x");  // no number: the default
  EXPECT_TRUE(s.Read(kOn));
}

TEST_F(SettingKeyTest, WritesStoreWhatReadsGiveBack) {
  s.Write(kTab, 4);
  s.Write(kOn, false);
  s.Write(kName, "Noto Sans CJK JP");
  s.Write(kColor, 0x00FF0000);
  EXPECT_EQ(file.ReadString("RichEdit", "richtabwidth", ""), "4");
  EXPECT_EQ(file.ReadString("Menu", "Mdisp", ""), "0");
  EXPECT_EQ(s.Read(kTab), 4);
  EXPECT_FALSE(s.Read(kOn));
  EXPECT_EQ(s.Read(kName), "Noto Sans CJK JP");
  EXPECT_EQ(s.Read(kColor), 0x00FF0000);
  EXPECT_TRUE(s.Delete(kTab.info));
  EXPECT_EQ(s.Read(kTab), 8);
}

TEST_F(SettingKeyTest, RulesJudgeStoredTexts) {
  // Each rule at both ends of what it accepts, and one step outside.
  const struct {
    const KeyInfo& key;
    const char* value;
    bool fits;
  } rows[] = {
      {kTab.info, "0", false},          {kTab.info, "1", true},           {kTab.info, "255", true},
      {kTab.info, "256", false},        {kTab.info, "eight", false},      {kCurrent.info, "", true},
      {kIcon.info, "0", false},         {kIcon.info, "1", true},          {kIcon.info, "4", true},
      {kIcon.info, "5", false},         {kColumn.info, "-3", false},      {kColumn.info, "-2", true},
      {kStyle.info, "-1", false},       {kStyle.info, "0", true},         {kStyle.info, "255", true},
      {kStyle.info, "256", false},      {kColor.info, "clWindowText", true}, {kColor.info, "$00FF0000", true},
      {kColor.info, "red", false},      {kName.info, "anything at all", true},
  };
  for (const auto& r : rows) EXPECT_EQ(ValueFitsRule(r.key, r.value), r.fits) << r.key.key << "=" << r.value;
}

TEST_F(SettingKeyTest, OverlongStringsAreCutAtACharacter) {
  constexpr auto kFont = Str("t", "FontR", "Name", "", KeyRule::MaxBytes, 0, 10);
  Put("FontR", "Name", std::string(1 << 20, 'x').c_str());  // a megabyte of font name
  EXPECT_EQ(s.Read(kFont).size(), 10u);
  Put("FontR", "Name", "ａｂｃｄ");  // three bytes a character: cut to whole characters
  EXPECT_EQ(s.Read(kFont), "ａｂｃ");
  EXPECT_FALSE(ValueFitsRule(kFont.info, "01234567890"));
  EXPECT_TRUE(ValueFitsRule(kFont.info, "0123456789"));
}

TEST(SettingClamps, FormGeometryPanelsAndColumns) {
  EXPECT_EQ(ClampLeft(-5, 1024), 0);
  EXPECT_EQ(ClampLeft(2000, 1024), 0);
  EXPECT_EQ(ClampLeft(100, 1024), 100);
  EXPECT_EQ(ClampTop(-1, 768), 0);
  EXPECT_EQ(ClampTop(768, 768), 768);
  EXPECT_EQ(ClampExtent(5000, 1024), 1024);
  EXPECT_EQ(ClampExtent(-3, 1024), 1024);
  EXPECT_EQ(ClampExtent(800, 1024), 800);
  EXPECT_EQ(KeepIfOutside(900, 600, 400), 400);
  EXPECT_EQ(KeepIfOutside(-1, 600, 400), 400);
  EXPECT_EQ(KeepIfOutside(600, 600, 400), 600);
}

}  // namespace
}  // namespace haruvi::platform
