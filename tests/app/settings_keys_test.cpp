// The key table and the clamping rules applied to the window's settings at start.
#include <gtest/gtest.h>

#include "app/settings_keys.h"

namespace haruvi::app::settings {
namespace {

TEST(SettingsKeys, EveryKeyIsSpelledOnceAndFoundWithoutCase) {
  auto keys = AllKeys();
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(Find(keys[i].section, keys[i].key), &keys[i]) << keys[i].section << "/" << keys[i].key;
  }
  ASSERT_NE(Find("menu", "MDISP"), nullptr);
  EXPECT_EQ(Find("Menu", "Mdisp")->def, "1");
  EXPECT_EQ(Find("StreamRead", "Byte")->def, "10000");
  EXPECT_EQ(Find("Menu", "NoSuchKey"), nullptr);
}

TEST(SettingsKeys, FormGeometryIsClampedToTheScreen) {
  EXPECT_EQ(ClampLeft(-5, 1024), 0);
  EXPECT_EQ(ClampLeft(2000, 1024), 0);
  EXPECT_EQ(ClampLeft(100, 1024), 100);
  EXPECT_EQ(ClampTop(-1, 768), 0);
  EXPECT_EQ(ClampExtent(5000, 1024), 1024);
  EXPECT_EQ(ClampExtent(-3, 1024), 1024);
  EXPECT_EQ(ClampExtent(800, 1024), 800);
}

TEST(SettingsKeys, PanelsIconStyleAndColumns) {
  EXPECT_EQ(KeepIfOutside(900, 600, 400), 400);
  EXPECT_EQ(KeepIfOutside(-1, 600, 400), 400);
  EXPECT_EQ(KeepIfOutside(300, 600, 400), 300);
  for (int v : {1, 2, 3, 4}) EXPECT_EQ(IconStyle(v), v);
  for (int v : {0, 5, -1, 99}) EXPECT_EQ(IconStyle(v), 3);
  EXPECT_EQ(ColumnWidth(-2, 50), -2);
  EXPECT_EQ(ColumnWidth(-3, 50), 50);
  EXPECT_EQ(ColumnWidth(120, 50), 120);
}

}  // namespace
}  // namespace haruvi::app::settings
