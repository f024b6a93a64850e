// Input histories: the reading rule of the "#" marks, the order after a confirmation,
// the limit of 21 entries, and what a save leaves in the file.
#include "platform/history.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

using List = std::vector<std::string>;

TEST(History, ConfirmingReordersDropsEmptiesAndKeepsTheLimit) {
  EXPECT_EQ(UpdatedHistory({"a", "b", "c"}, "c"), (List{"c", "a", "b"}));  // the third becomes first
  EXPECT_EQ(UpdatedHistory({"a", "b"}, "new"), (List{"new", "a", "b"}));
  EXPECT_EQ(UpdatedHistory({"a", "", "b", ""}, ""), (List{"a", "b"}));       // empty text: only the empties go
  EXPECT_EQ(UpdatedHistory({"A"}, "a"), (List{"a", "A"}));                    // case counts
  List full;
  for (int i = 0; i < 21; ++i) full.push_back("e" + std::to_string(i));
  const List after = UpdatedHistory(full, "new");
  ASSERT_EQ(after.size(), 21u);
  EXPECT_EQ(after.front(), "new");
  EXPECT_EQ(after.back(), "e19");  // the oldest dropped
}

TEST(History, SavedBetweenMarksAndReadBackWithTheirBlanks) {
  test::TempDir dir;
  IniFile ini(dir / "h.ini");
  ASSERT_TRUE(SaveHistory(ini, "Ext", {" txt;bmp ", "*"}));
  EXPECT_EQ(ini.ReadString("Ext", "Items_0", ""), "# txt;bmp #");
  EXPECT_EQ(ini.ReadInteger("Ext", "DriveCount", 0), 2);
  EXPECT_EQ(LoadHistory(IniFile(dir / "h.ini"), "Ext"), (List{" txt;bmp ", "*"}));
  EXPECT_TRUE(LoadHistory(ini, "NoSuchSection").empty());
}

TEST(History, HandWrittenValuesAndLongerOldListsAreReadAsTheyStand) {
  test::TempDir dir;
  auto p = dir.Write("h.ini", "[FolderSet]\r\nDriveCount=3\r\nItems_0=/home\r\nItems_1=#/tmp#\r\nItems_2=#\r\nItems_3=#old#\r\n");
  IniFile ini(p);
  EXPECT_EQ(LoadHistory(ini, "FolderSet"), (List{"/home", "/tmp", ""}));
  ASSERT_TRUE(SaveHistory(ini, "FolderSet", UpdatedHistory(LoadHistory(ini, "FolderSet"), "/usr")));
  EXPECT_EQ(LoadHistory(ini, "FolderSet"), (List{"/usr", "/home", "/tmp"}));
  EXPECT_EQ(ini.ReadString("FolderSet", "Items_3", ""), "#old#");  // not deleted
  // A count written by hand far too big is capped: it never sizes anything.
  ini.WriteString("FolderSet", "DriveCount", "2000000000");
  EXPECT_EQ(LoadHistory(ini, "FolderSet").size(), 1000u);
}

}  // namespace
}  // namespace haruvi::platform
