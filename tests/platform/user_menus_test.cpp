// The user menus' pure parts: command lines split without a shell, the menu captions'
// numbering, and the "Mexe" / "PopupMenu2" sections read and written whole.
#include <gtest/gtest.h>

#include "platform/command_line.h"
#include "platform/user_lists.h"
#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

using Words = std::vector<std::string>;

TEST(SplitCommandLine, QuotesBlanksAndShellCharactersArriveAsWritten) {
  EXPECT_EQ(SplitCommandLine("/usr/bin/gedit").words, Words{"/usr/bin/gedit"});
  EXPECT_EQ(SplitCommandLine("  /opt/my app/run  ").words, (Words{"/opt/my", "app/run"}));
  EXPECT_EQ(SplitCommandLine("\"/opt/my app/run\" -x").words, (Words{"/opt/my app/run", "-x"}));
  EXPECT_EQ(SplitCommandLine("prog '$(rm -rf ~)' \"a;b|c\" `id` >out").words,
            (Words{"prog", "$(rm -rf ~)", "a;b|c", "`id`", ">out"}));
  EXPECT_EQ(SplitCommandLine(R"(p "say \"hi\" \\ \n" it\ s 'a\b')").words,
            (Words{"p", "say \"hi\" \\ \\n", "it s", "a\\b"}));
  EXPECT_EQ(SplitCommandLine("p \"\" ''").words, (Words{"p", "", ""}));
  EXPECT_EQ(SplitCommandLine("p a\"b c\"d").words, (Words{"p", "ab cd"}));
  // Japanese names in Shift_JIS bytes keep their bytes (a trail byte 0x5C is a backslash).
  EXPECT_EQ(SplitCommandLine("'\x95\x5C.exe'").words, Words{"\x95\x5C.exe"});
  EXPECT_EQ(SplitCommandLine("/p/\x95\x5C.exe").words, Words{"/p/\x95\x5C.exe"});
}

TEST(SplitCommandLine, BrokenLinesSayWhy) {
  EXPECT_FALSE(SplitCommandLine("").error.empty());
  EXPECT_FALSE(SplitCommandLine("   ").error.empty());
  EXPECT_FALSE(SplitCommandLine("prog 'open").error.empty());
  EXPECT_FALSE(SplitCommandLine("prog \"open \\\"").error.empty());
  EXPECT_TRUE(SplitCommandLine("prog trailing\\").error.empty());
}

TEST(MenuCaption, NumbersFromOneAndTheTenthStartsWithItsFirstDigit) {
  EXPECT_EQ(MenuCaption(1, "Editor"), "&1 Editor");
  EXPECT_EQ(MenuCaption(10, "Ten"), "&10 Ten");
}

class UserListsTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  IniFile ini{dir.path() / "h.ini"};
};

TEST_F(UserListsTest, ApplicationsRoundTripAndAShorterListLeavesOldKeysUnread) {
  WriteExeList(ini, {{"/bin/a", "A"}, {"/bin/b x", "B"}, {"/bin/c", "C"}});
  WriteExeList(ini, {{"/bin/b x", "B"}, {"/bin/a", "A"}});
  const std::vector<ExeEntry> list = ReadExeList(ini);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].file, "/bin/b x");
  EXPECT_EQ(list[1].name, "A");
  EXPECT_EQ(ini.ReadString("Mexe", "File2", ""), "/bin/c");  // stays, unread
  EXPECT_EQ(ReadExeFile(ini, 1), "/bin/b x");
  EXPECT_EQ(ReadExeFile(ini, 3), "");  // past the count
  EXPECT_EQ(ReadExeFile(ini, 0), "");
}

TEST_F(UserListsTest, FoldersKeepTheirGapsWhenReadAndDropThemWhenWritten) {
  ini.WriteInteger("PopupMenu2", "Count", 3);
  ini.WriteString("PopupMenu2", "Folder0", "/a");
  ini.WriteString("PopupMenu2", "Folder2", "/c");
  EXPECT_EQ(ReadFolderList(ini), (Words{"/a", "", "/c"}));
  EXPECT_EQ(ReadFolder(ini, 3), "/c");
  WriteFolderList(ini, ReadFolderList(ini));
  EXPECT_EQ(ReadFolderList(ini), (Words{"/a", "/c"}));
  ini.WriteInteger("PopupMenu2", "Count", -4);
  EXPECT_TRUE(ReadFolderList(ini).empty());
}

}  // namespace
}  // namespace haruvi::platform
